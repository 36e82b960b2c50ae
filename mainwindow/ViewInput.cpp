#include "ViewInput.h"

#include "C3DCurveController.h"
#include "HandlerGuard.h"
#include "MCommon.h"
#include "MainContext.h"
#include "MainParts.h"
#include "MainServices.h"
#include "MainState.h"
#include "MainTexts.h"
#include "MainWidgets.h"
#include "StatusMessages.h"
#include "UCOpenGLView.h"

#include <QComboBox>
#include <QFrame>
#include <QLocale>
#include <QMainWindow>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace {

// Virtual keys of the view's key handling.
constexpr int16_t KeyShift = 16;
constexpr int16_t KeyControl = 17;
constexpr int16_t KeyAlt = 18;
constexpr int16_t KeyDelete = 46;

// Buttons of the view's mouse events.
constexpr int16_t ButtonLeft = 1;
constexpr int16_t ButtonRight = 2;

// The view control's pointer kinds.
constexpr int32_t PointerHourglass = 11;
constexpr int32_t PointerPicture = 99;

// Status text numbers of the four views (99 "X-Y View" to 102 "3D View").
constexpr int32_t FirstViewText = 99;

int32_t RoundPixel(float value)
{
    if (!std::isfinite(value))
        return 0;
    return static_cast<int32_t>(MCommon::RoundHalfEven(std::clamp(static_cast<double>(value), -1.0e9, 1.0e9)));
}

QString CoordinateText(float value)
{
    const double shown = std::isfinite(value) ? MCommon::RoundToDecimals(static_cast<double>(value), 3) + 0.0 : 0.0;
    QString text = QLocale().toString(shown, 'f', 3).rightJustified(10, QLatin1Char(' '));
    // A value that fills the width keeps a blank from its axis letter.
    if (!text.startsWith(QLatin1Char(' ')))
        text.prepend(QLatin1Char(' '));
    return text;
}

QString AxisName(int32_t axis)
{
    static const QString names[3] = {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")};
    return axis >= 0 && axis < 3 ? names[axis] : QString();
}

}  // namespace

ViewInput::ViewInput(MainContext& context) : m_c(context)
{
    UCOpenGLView* view = m_c.widgets.oglView;
    auto guarded = [this](auto handler) { RunGuarded(m_c.status, handler); };
    QObject::connect(view, &UCOpenGLView::KeyDown, &m_receiver,
                     [this, guarded](int16_t& code, int16_t& shift) { guarded([&] { oglView_KeyDown(code, shift); }); });
    QObject::connect(view, &UCOpenGLView::KeyPress, &m_receiver,
                     [this, guarded](int16_t& ascii) { guarded([&] { oglView_KeyPress(ascii); }); });
    QObject::connect(view, &UCOpenGLView::KeyUp, &m_receiver,
                     [this, guarded](int16_t& code, int16_t& shift) { guarded([&] { oglView_KeyUp(code, shift); }); });
    QObject::connect(view, &UCOpenGLView::MouseDown, &m_receiver,
                     [this, guarded](int16_t& b, int16_t& s, float& x, float& y) {
                         guarded([&] { oglView_MouseDown(b, s, x, y); });
                     });
    QObject::connect(view, &UCOpenGLView::MouseUp, &m_receiver,
                     [this, guarded](int16_t& b, int16_t& s, float& x, float& y) {
                         guarded([&] { oglView_MouseUp(b, s, x, y); });
                     });
    QObject::connect(view, &UCOpenGLView::MouseMove, &m_receiver,
                     [this, guarded](int16_t& b, int16_t& s, float& x, float& y) {
                         guarded([&] { oglView_MouseMove(b, s, x, y); });
                     });
    for (int32_t i = 0; i < static_cast<int32_t>(m_c.widgets.optViews.size()); ++i)
        QObject::connect(m_c.widgets.optViews[static_cast<size_t>(i)], &QToolButton::clicked, &m_receiver,
                         [this, guarded, i] { guarded([&] { optViews_Click(i); }); });
}

// ---- The four views ----------------------------------------------------------------

void ViewInput::fCreateViews()
{
    // Kind, horizontal, vertical and depth axes of views 0 to 3.
    constexpr int32_t kViews[4][4] = {{CView::ViewXY, 0, 1, 2},
                                      {CView::ViewXZ, 0, 2, 1},
                                      {CView::ViewYZ, 1, 2, 0},
                                      {CView::View3D, 0, 1, 2}};
    const int32_t scaleIndex = m_c.parts.viewZoom->DefaultScaleIndex();
    for (size_t i = 0; i < 4; ++i)
        m_c.state.m_views[i].Initialize(kViews[i][0], kViews[i][1], kViews[i][2], kViews[i][3], scaleIndex, 10,
                                        100000, false, false, false);
    m_c.state.m_activeViewIndex = 0;
    m_c.state.m_view = &m_c.state.m_views[0];
    m_c.view.SetView(m_c.state.m_view);
    // The view shows the tools' pictures.
    m_c.view.SetMousePointer(PointerPicture);
}

void ViewInput::fSelectView(int32_t index)
{
    if (index < 0 || index > 3)
        index = 0;
    QToolButton* button = m_c.widgets.optViews[static_cast<size_t>(index)];
    if (!button->isChecked())
        button->setChecked(true);
    optViews_Click(index);
}

void ViewInput::optViews_Click(int32_t index)
{
    fActivateView(index);
    m_c.view.SetFocus();
}

void ViewInput::fActivateView(int32_t index)
{
    index = std::clamp(index, 0, 3);
    MainState& s = m_c.state;
    const bool was3D = fIsActiveView3D();
    s.m_activeViewIndex = index;
    s.m_view = &s.m_views[static_cast<size_t>(index)];
    m_c.view.SetView(s.m_view);

    m_c.parts.editState->fUpdateToolsState();
    const bool is3D = fIsActiveView3D();
    m_c.widgets.fra3DView->setVisible(is3D);
    m_c.widgets.cbo3DViewRatio->setEnabled(is3D);
    m_c.status.fSetMiddleStatus(QString(), false);

    m_c.status.fSetRightStatus(m_c.texts.fGetText(FirstViewText + index));
    if (is3D) {
        m_c.parts.viewZoom->fClearScaleLabel();
    } else {
        m_c.parts.preview->fReleasePreviewLock();
        m_c.parts.viewZoom->fTakeViewScale();
        fSetViewOrigin(s.m_view->CurrentOrigin(1), s.m_view->CurrentOrigin(2));
        // The label tells this view's width, not the last one's.
        m_c.parts.viewZoom->fRefreshScaleLabel();
    }

    m_c.parts.sceneDrawing->fUpdateViewMenus();
    m_c.parts.mapBinding->fApplyMapDrawModes();
    m_c.parts.mapBinding->fUpdateMapViewMenus();
    // The 3D view keeps its ratio, a 2D view fills the area.
    if (was3D != is3D)
        m_c.parts.layout->fArrangePanels(false);
    // Another kind of view: another projection.
    m_c.parts.sceneDrawing->fUpdateViewProjection();
}

bool ViewInput::fIsActiveView3D() const
{
    return m_c.state.m_view && m_c.state.m_view->ViewFlag() == CView::View3D;
}

int32_t ViewInput::fViewKindToIndex(int32_t kind)
{
    switch (kind) {
    case CView::ViewXZ: return 1;
    case CView::ViewYZ: return 2;
    case CView::View3D: return 3;
    default: return 0;
    }
}

bool ViewInput::fIsValidViewKind(int32_t kind)
{
    return kind == CView::ViewXY || kind == CView::ViewXZ || kind == CView::ViewYZ || kind == CView::View3D;
}

std::optional<CView> ViewInput::GetViewCopy(int32_t viewKind)
{
    if (!fIsValidViewKind(viewKind))
        return std::nullopt;
    return m_c.state.m_views[static_cast<size_t>(fViewKindToIndex(viewKind))].Clone();
}

int32_t ViewInput::ScaleNormalize(int32_t scaleIndex)
{
    return m_c.parts.viewZoom->ScaleNormalize(scaleIndex);
}

// ---- Cursors and the busy state -------------------------------------------------

void ViewInput::fSetViewCursor(int32_t index)
{
    if (index < 0 || index >= static_cast<int32_t>(m_c.state.m_viewCursors.size()) || index == m_currentCursor)
        return;
    m_c.view.SetMouseIcon(m_c.state.m_viewCursors[static_cast<size_t>(index)]);
    m_currentCursor = index;
}

void ViewInput::fPushViewCursor(int32_t index)
{
    if (index >= 0) {
        m_savedViewCursor = m_currentCursor;
        fSetViewCursor(index);
    } else if (m_savedViewCursor >= 0) {
        fSetViewCursor(m_savedViewCursor);
        m_savedViewCursor = -1;
    }
}

void ViewInput::fSetNavigationCursor()
{
    fSetViewCursor(m_c.parts.cameraNavigation->fCanStartMouseCamera() ? 5 : 0);
}

void ViewInput::fSetBusy(bool busy)
{
    if (busy) {
        m_c.view.SetMousePointer(PointerHourglass);
        m_c.window.setCursor(Qt::WaitCursor);
        m_c.widgets.central->setEnabled(false);
    } else {
        m_c.widgets.central->setEnabled(true);
        m_c.window.unsetCursor();
        m_c.view.SetMousePointer(PointerPicture);
    }
}

// ---- The origin and panning -----------------------------------------------------

float ViewInput::ClampOrigin(float value, double extent, bool& clamped)
{
    const double limit = std::max(0.0, (WorldSize - (std::isfinite(extent) ? extent : WorldSize)) / 2.0);
    const double wanted = std::isfinite(value) ? static_cast<double>(value) : 0.0;
    const float result = static_cast<float>(std::clamp(wanted, -limit, limit));
    clamped = result != value;
    return result;
}

void ViewInput::fSetViewOrigin(float origin1, float origin2)
{
    CView* view = m_c.state.m_view;
    if (!view)
        return;
    bool clamped = false;
    view->SetCurrentOrigin(1, ClampOrigin(origin1, m_c.view.GLViewWidth(), clamped));
    m_panClamped[0] = clamped;
    view->SetCurrentOrigin(2, ClampOrigin(origin2, m_c.view.GLViewHeight(), clamped));
    m_panClamped[1] = clamped;
}

void ViewInput::fStartPan()
{
    MainState& s = m_c.state;
    if (s.m_cameraDragActive || !s.m_view)
        return;
    s.m_drags.m_panActive = true;
    s.m_cameraDragActive = true;
    if (s.m_mainCurve)
        s.m_mainCurve->QuickRefreshStart(false);
    fPushViewCursor(4);
    s.m_view->SetOnclickOrigin(1, s.m_view->CurrentOrigin(1));
    s.m_view->SetOnclickOrigin(2, s.m_view->CurrentOrigin(2));
}

void ViewInput::fPanStep(float x, float y)
{
    MainState& s = m_c.state;
    const double scale = m_c.view.GLViewScale();
    if (!s.m_view || !(scale > 0.0))
        return;
    CView& view = *s.m_view;
    ViewDrags& d = s.m_drags;
    const double origin1 = view.OnclickOrigin(1) - (x - d.m_mouseDownX) / scale;
    const double origin2 = view.OnclickOrigin(2) + (y - d.m_mouseDownY) / scale;
    fSetViewOrigin(static_cast<float>(origin1), static_cast<float>(origin2));
    // At a limit the press point follows the pointer, so that moving back
    // takes effect at once.
    if (m_panClamped[0]) {
        d.m_mouseDownX = RoundPixel(x);
        view.SetOnclickOrigin(1, view.CurrentOrigin(1));
    }
    if (m_panClamped[1]) {
        d.m_mouseDownY = RoundPixel(y);
        view.SetOnclickOrigin(2, view.CurrentOrigin(2));
    }
    m_c.parts.sceneDrawing->fUpdateViewProjection();
}

void ViewInput::fEndPan()
{
    MainState& s = m_c.state;
    fPushViewCursor(-1);
    if (s.m_mainCurve)
        s.m_mainCurve->QuickRefreshStop();
    s.m_drags.m_panActive = false;
    s.m_cameraDragActive = false;
}

// ---- Keys ---------------------------------------------------------------------------

bool ViewInput::fIsModifierKey(int16_t keyCode) const
{
    return keyCode == KeyShift || keyCode == KeyControl || keyCode == KeyAlt;
}

int32_t ViewInput::fActiveTool() const
{
    for (size_t i = 0; i < m_c.widgets.optTools.size(); ++i)
        if (m_c.widgets.optTools[i]->isChecked())
            return static_cast<int32_t>(i);
    return -1;
}

// A key code of 0 is a key the window has handled already.
void ViewInput::oglView_KeyDown(int16_t& keyCode, int16_t& shift)
{
    MainState& s = m_c.state;
    if (keyCode == 0 || s.m_inputEditing || fIsModifierKey(keyCode))
        return;
    if (fIsActiveView3D()) {
        m_c.parts.cameraNavigation->fViewKeyDown(keyCode, shift);
        return;
    }
    if (s.m_drags.m_panActive || s.m_drags.m_zoomDragActive || fActiveTool() == 1
        || !m_c.widgets.optTools[0]->isEnabled())
        return;
    if (keyCode == KeyDelete && s.m_curveController && s.m_curveController->CurvesSelectedControlCount() > 0)
        m_c.parts.curveEditing->fDeleteSelectedControls();
}

void ViewInput::oglView_KeyPress(int16_t& keyAscii)
{
    if (keyAscii == 0 || m_c.state.m_inputEditing)
        return;
    if (fIsActiveView3D())
        m_c.parts.cameraNavigation->fViewKeyPress(keyAscii);
}

void ViewInput::oglView_KeyUp(int16_t& keyCode, int16_t&)
{
    if (keyCode == 0 || fIsModifierKey(keyCode))
        return;
    if (fIsActiveView3D())
        m_c.parts.cameraNavigation->fViewKeyUp(keyCode);
}

// ---- The mouse ------------------------------------------------------------------------

void ViewInput::oglView_MouseDown(int16_t& button, int16_t& shift, float& x, float& y)
{
    MainState& s = m_c.state;
    if (s.m_cameraDragActive)
        return;
    s.m_drags.m_mouseDownX = RoundPixel(x);
    s.m_drags.m_mouseDownY = RoundPixel(y);
    const bool is3D = fIsActiveView3D();
    if (button == ButtonLeft) {
        if (is3D) {
            m_c.parts.cameraNavigation->fStartMouseLook();
        } else {
            const int32_t tool = fActiveTool();
            if (tool == 4)
                m_c.parts.viewZoom->fStartZoomDrag();
            else if (tool >= 0 && tool <= 3)
                m_c.parts.curveEditing->fToolMouseDown(tool, shift, x, y);
        }
    } else if (button == ButtonRight) {
        m_c.view.SetFocus();
        if (is3D)
            m_c.parts.cameraNavigation->fStartMouseMove();
        else if (!m_c.parts.curveEditing->fResetHoveredTangent(fActiveTool(), shift))
            fStartPan();
    }
}

void ViewInput::oglView_MouseMove(int16_t& button, int16_t& shift, float& x, float& y)
{
    MainState& s = m_c.state;
    ViewDrags& d = s.m_drags;
    m_c.view.WindowToWorld(x, y, d.m_pointerWorld);
    ICurveEditing& tools = *m_c.parts.curveEditing;
    if (d.m_mouseLookActive)
        m_c.parts.cameraNavigation->fMouseLookStep();
    else if (d.m_selectionRectActive)
        tools.fSelectionRectStep();
    else if (d.m_moveSelectionActive)
        tools.fMoveSelectionStep();
    else if (d.m_tangentDragActive)
        tools.fTangentDragStep(shift);
    else if (d.m_lookAtDragActive)
        tools.fLookAtStep(shift, x, y);
    else if (d.m_zoomDragActive)
        m_c.parts.viewZoom->fZoomDragStep(x, y);
    else if (d.m_panActive)
        fPanStep(x, y);
    else if (d.m_mouseMoveActive)
        m_c.parts.cameraNavigation->fMouseMoveStep();
    else if (d.m_moveControlActive)
        tools.fMoveControlStep(shift);
    else
        tools.fHoverFeedback(button, shift);

    if (s.m_view && !fIsActiveView3D() && !d.m_panActive)
        m_c.status.fSetMiddleStatus(PointerStatusText(*s.m_view, d.m_pointerWorld), false);
}

void ViewInput::oglView_MouseUp(int16_t& button, int16_t& shift, float& x, float& y)
{
    const ViewDrags& d = m_c.state.m_drags;
    ICurveEditing& tools = *m_c.parts.curveEditing;
    if (button == ButtonLeft) {
        if (d.m_zoomDragActive)
            m_c.parts.viewZoom->fStopZoomDrag();
        else if (d.m_selectionRectActive)
            tools.fEndSelectionRect(shift, x, y);
        else if (d.m_moveSelectionActive)
            tools.fEndMoveSelection();
        else if (d.m_mouseLookActive)
            m_c.parts.cameraNavigation->fStopMouseLook();
        else if (d.m_tangentDragActive)
            tools.fEndTangentDrag();
        else if (d.m_lookAtDragActive)
            tools.fEndLookAtDrag();
        else if (d.m_moveControlActive)
            tools.fEndMoveControl();
    } else if (button == ButtonRight) {
        if (d.m_mouseMoveActive)
            m_c.parts.cameraNavigation->fStopMouseMove();
        else if (d.m_panActive)
            fEndPan();
    }
}

// ---- Status text ------------------------------------------------------------------------

QString ViewInput::PointerStatusText(const CView& view, const std::array<float, 3>& world)
{
    const auto coordinate = [&world](int32_t axis) {
        return axis >= 0 && axis < 3 ? world[static_cast<size_t>(axis)] : 0.0f;
    };
    return AxisName(view.HAxis()) + CoordinateText(coordinate(view.HAxis())) + QLatin1Char(' ')
           + AxisName(view.VAxis()) + CoordinateText(coordinate(view.VAxis()));
}
