#pragma once

// The real main window without its load, on Qt's offscreen platform, for
// the tests of the preview, the point grid and the value tools: those
// three real, with a clock the test sets, a view control that counts what
// it is asked, message boxes that are recorded, and the edit state, scene
// drawing, zoom and curve editing replaced by recorders. The window holds
// the curve controller with the main curve (selected in the curve
// manager), the four views with the 3D view active, the frame enabler, the
// text-box handler and the grid's columns.

#include "CTextboxHandler.h"
#include "FlexgridEx.h"
#include "CVbFrameHandler.h"
#include "FrmMain.h"
#include "MainServicesReal.h"
#include "MainTexts.h"
#include "UC3DCurveList.h"
#include "UC3DCurveManager.h"
#include "UCTabbedFlexgrid.h"

#include <QApplication>
#include <QCursor>
#include <QLineEdit>
#include <QLocale>

#include <array>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

namespace Rig {

inline void EnsureApplication()
{
    if (QApplication::instance() != nullptr)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "test_mainwindow";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

class FakeClock final : public IClock
{
public:
    int64_t now = 1000;
    int64_t ElapsedMs() const override { return now; }
    uint32_t GetTickMs() const override { return static_cast<uint32_t>(now); }
};

class RecordingView final : public IViewControl
{
public:
    int projections = 0;
    int refreshes = 0;
    bool Initialize(IOpenGLViewHandler*, CView*, C3DCamera*) override { return true; }
    double GLViewScale() const override { return m_scale; }
    void SetGLViewScale(double scale) override { m_scale = scale; }
    void SetView(CView*) override {}
    void UpdateProjection() override { ++projections; }
    void Refresh() override { ++refreshes; }
    bool GLKillWindow() override { return true; }
    int32_t MousePointer() const override { return 0; }
    void SetMousePointer(int32_t) override {}
    void SetMouseIcon(const QCursor&) override {}
    bool MakeCurrent() override { return false; }

private:
    double m_scale = 0.05;
};

struct Box
{
    QString title;
    QString prompt;
    int32_t style;
};

class RecordingDialogs final : public IDialogs
{
public:
    std::vector<Box> boxes;
    bool ShowOpenDialog(QWidget*, const QString&, QString&, QString&, const QString&, const QString&, int32_t&,
                        const QString&, int32_t) override
    {
        return false;
    }
    bool ShowSaveDialog(QWidget*, const QString&, QString&, QString&, const QString&, const QString&, int32_t&,
                        const QString&, int32_t) override
    {
        return false;
    }
    QString BrowseForFolder(QWidget*, const QString&, const QString&, int32_t, int32_t, const QString&) override
    {
        return QStringLiteral("cancel");
    }
    int32_t MessageBox(QWidget*, const QString& title, const QString& prompt, int32_t style, const QString&,
                       int32_t) override
    {
        boxes.push_back(Box{title, prompt, style});
        return 1;
    }
};

// What the recorders saw.
struct Record
{
    int undoStates = 0;
    int unselectHidden = 0;
};

class RecordingEditState final : public IEditState
{
public:
    RecordingEditState(MainContext& c, Record& r) : m_real(c), m_r(r) {}
    void fCreateCurveObjects() override { m_real.fCreateCurveObjects(); }
    void fSetProjectModified(bool force) override { m_real.fSetProjectModified(force); }
    bool fNothingToSave() const override { return m_real.fNothingToSave(); }
    void fStoreUndoState() override { ++m_r.undoStates; }
    void fUnselectHiddenOfSelected() override { ++m_r.unselectHidden; }

private:
    EditState m_real;
    Record& m_r;
};

// The room check as the curve tools make it: text 157 with the title.
class RoomCheckingEditing final : public ICurveEditing
{
public:
    explicit RoomCheckingEditing(MainContext& c) : m_c(c) {}
    bool fCanAddControl(C3DCurve& curve, const QString& title) override
    {
        if (curve.CanAddControl(1))
            return true;
        m_c.status.fShowMessageBox(m_c.texts.fGetText(157), 64, title);
        return false;
    }

private:
    MainContext& m_c;
};

class Factory final : public MainPartsFactory
{
public:
    explicit Factory(Record& r) : m_r(r) {}
    std::unique_ptr<IEditState> MakeEditState(MainContext& c) override
    {
        return std::make_unique<RecordingEditState>(c, m_r);
    }
    std::unique_ptr<ICurveEditing> MakeCurveEditing(MainContext& c) override
    {
        return std::make_unique<RoomCheckingEditing>(c);
    }

private:
    Record& m_r;
};

// The window and its fakes.
struct Window
{
    Record record;
    std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();
    std::shared_ptr<RecordingDialogs> dialogs = std::make_shared<RecordingDialogs>();
    RecordingView* view = nullptr;
    std::unique_ptr<FrmMain> frm;

    Window()
    {
        EnsureApplication();
        MainServices s = MakeRealServices();
        s.clock = clock;
        s.dialogs = dialogs;
        s.gameSearch = {};  // no game of the machine is found
        s.makeViewControl = [this](UCOpenGLView&) {
            auto v = std::make_unique<RecordingView>();
            view = v.get();
            return v;
        };
        frm = std::make_unique<FrmMain>(std::move(s), std::make_unique<Factory>(record));
        MainParts& p = frm->Parts();
        p.cameraNavigation->fResetCamera();
        p.viewInput->fCreateViews();
        p.editState->fCreateCurveObjects();
        frm->State().m_camera.Clear();
        frm->Controls().m_frameHandler = std::make_unique<CVbFrameHandler>();
        frm->Controls().m_frameHandler->Initialize(frm.get());
        frm->Controls().m_textboxHandler = std::make_unique<CTextboxHandler>();
        MainWidgets& w = frm->Widgets();
        frm->Controls().m_textboxHandler->RegisterTextbox(
            QList<QLineEdit*>(w.txtCFixedTargets.begin(), w.txtCFixedTargets.end()), false, false);
        p.pointGrid->fDefineGridColumns();
        Select3DView();
    }

    MainWidgets& W() { return frm->Widgets(); }
    MainState& S() { return frm->State(); }
    MainParts& P() { return frm->Parts(); }
    C3DCurve& Main() { return *S().m_mainCurve; }
    C3DCurveController& Curves() { return *S().m_curveController; }
    UCTabbedFlexgrid& Grid() { return *W().tabbedFlexgrid; }

    void Select3DView() { SelectView(3); }
    void SelectView(int32_t index)
    {
        S().m_activeViewIndex = index;
        S().m_view = &S().m_views[static_cast<size_t>(index)];
    }
    // Points on a line, one second apart, at the given step rate.
    void AddPoints(C3DCurve& curve, int count, int32_t stepRate = 100)
    {
        curve.BeginControlsCountChange();
        for (int i = 0; i < count; ++i)
            curve.AddControl3(100.0f * static_cast<float>(curve.ControlsCount()), 50.0f, 20.0f, 0.0f, 0.0f, 0.0f,
                              false);
        curve.EndControlsCountChange();
        curve.SetStepRate(stepRate);
    }
    // The grid shows the curve: the manager selects it.
    void ShowInGrid(C3DCurve& curve)
    {
        W().cmCurveManager->RefreshCurveList(false);
        W().cmCurveManager->findChild<UC3DCurveList*>()->SetSelectedIndex(Curves().GetCurveIndex(&curve));
        P().pointGrid->fGridReloadCurve(&curve);
    }
};

// Counts the change events of a curve.
class ChangeCounter final : public I3DCurveEvents
{
public:
    explicit ChangeCounter(C3DCurve& curve) : m_curve(curve) { curve.AddListener(this); }
    ~ChangeCounter() override { m_curve.RemoveListener(this); }
    ChangeCounter(const ChangeCounter&) = delete;
    ChangeCounter& operator=(const ChangeCounter&) = delete;
    void CurveChanged(C3DCurve&) override { ++changes; }
    void ControlsCountChanged(C3DCurve&) override { ++counts; }
    int changes = 0;
    int counts = 0;

private:
    C3DCurve& m_curve;
};

// Selects cells of a grid, the current cell first (so that either corner
// can be the first).
inline void SelectCells(IFlexgrid& grid, int32_t row, int32_t col, int32_t rowSel, int32_t colSel)
{
    grid.SetRow(row);
    grid.SetCol(col);
    grid.SetRowSel(rowSel);
    grid.SetColSel(colSel);
}

// A window whose main curve has five points a second apart, along x from 0
// to 400 at y 50 and z 20, shown in the grid.
class GridTest : public ::testing::Test
{
protected:
    Window w;

    void SetUp() override
    {
        w.AddPoints(w.Main(), 5);
        w.ShowInGrid(w.Main());
    }
    FlexgridEx& G(int tab) { return w.Grid().Grids(tab); }
    // Selects cells of a tab and makes its grid the selected one.
    void Select(int tab, int row, int col, int rowSel, int colSel)
    {
        emit G(tab).GotFocus();
        SelectCells(G(tab), row, col, rowSel, colSel);
    }
    QString Num(double v, int16_t decimals = 2) const { return StatusMessages::fFormatStatusNumber(v, decimals); }
    const std::vector<Box>& Boxes() const { return w.dialogs->boxes; }
};

// Sets the user's locale for as long as it lives.
class UserLocale
{
public:
    explicit UserLocale(const char* name) { QLocale::setDefault(QLocale(QString::fromLatin1(name))); }
    ~UserLocale() { QLocale::setDefault(QLocale::c()); }
    UserLocale(const UserLocale&) = delete;
    UserLocale& operator=(const UserLocale&) = delete;
};

}  // namespace Rig
