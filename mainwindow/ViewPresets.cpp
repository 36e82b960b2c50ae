#include "ViewPresets.h"

#include "C3DProject.h"
#include "HandlerGuard.h"
#include "MainContext.h"
#include "MainMenus.h"
#include "MainParts.h"
#include "MainServices.h"
#include "MainState.h"
#include "MainWidgets.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QToolButton>

#include <memory>

namespace {

// RGB(0, 128, 0).
const QColor kFilledColor(0, 128, 0);

// The index of a view kind in the four view states; 0 for anything else.
int32_t ViewKindToIndex(int32_t kind)
{
    switch (kind) {
    case CView::ViewXZ: return 1;
    case CView::ViewYZ: return 2;
    case CView::View3D: return 3;
    default: return 0;
    }
}

}  // namespace

ViewPresets::ViewPresets(MainContext& context) : m_c(context)
{
    for (QToolButton* button : m_c.widgets.optViewPreset)
        button->installEventFilter(this);
    if (QAction* save = m_c.menus.Action(QStringLiteral("mnuVP_Save")))
        connect(save, &QAction::triggered, this, [this] { mnuVP_Save_Click(); });
    if (QAction* clear = m_c.menus.Action(QStringLiteral("mnuVP_Clear")))
        connect(clear, &QAction::triggered, this, [this] { mnuVP_Clear_Click(); });
}

C3DViewPreset& ViewPresets::Slot(int32_t index)
{
    std::optional<C3DViewPreset>& slot = m_viewPresets[static_cast<size_t>(index)];
    if (!slot)
        slot.emplace();
    return *slot;
}

const C3DViewPreset& ViewPresets::Preset(int32_t index) const
{
    static const C3DViewPreset empty;
    if (!IsValidIndex(index) || !m_viewPresets[static_cast<size_t>(index)])
        return empty;
    return *m_viewPresets[static_cast<size_t>(index)];
}

// ---- The buttons --------------------------------------------------------------

void ViewPresets::fUpdatePresetButton(int32_t index)
{
    if (!IsValidIndex(index))
        return;
    QToolButton* button = m_c.widgets.optViewPreset[static_cast<size_t>(index)];
    const bool filled = !Preset(index).IsEmpty();
    QPalette palette = button->palette();
    const QColor color = filled ? kFilledColor : palette.color(QPalette::Disabled, QPalette::ButtonText);
    palette.setColor(QPalette::Active, QPalette::ButtonText, color);
    palette.setColor(QPalette::Inactive, QPalette::ButtonText, color);
    button->setPalette(palette);
    QFont font = button->font();
    font.setBold(filled);
    button->setFont(font);
}

void ViewPresets::fRefreshPresetButtons()
{
    for (int32_t i = 0; i < PresetCount; ++i)
        fUpdatePresetButton(i);
}

void ViewPresets::fSetCurrentPreset(int32_t index)
{
    if (IsValidIndex(index))
        m_currentPreset = index;
}

int32_t ViewPresets::fCurrentPreset() const
{
    return m_currentPreset;
}

void ViewPresets::fSelectPreset(int32_t index)
{
    if (!IsValidIndex(index))
        return;
    // One button at a time is on, as in a group of option buttons.
    for (int32_t i = 0; i < PresetCount; ++i)
        m_c.widgets.optViewPreset[static_cast<size_t>(i)]->setChecked(i == index);
    fSetCurrentPreset(index);
}

void ViewPresets::fDeselectPreset(int32_t index)
{
    if (IsValidIndex(index))
        m_c.widgets.optViewPreset[static_cast<size_t>(index)]->setChecked(false);
}

bool ViewPresets::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick)
        return QObject::eventFilter(watched, event);
    const auto& buttons = m_c.widgets.optViewPreset;
    for (int32_t i = 0; i < PresetCount; ++i) {
        if (watched != buttons[static_cast<size_t>(i)])
            continue;
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const int32_t button = mouse->button() == Qt::LeftButton ? 1 : mouse->button() == Qt::RightButton ? 2 : 0;
        if (button == 0)
            return false;
        // The buttons show the chosen preset; a click only chooses through
        // the operations below, never by toggling itself.
        if (type != QEvent::MouseButtonRelease) {
            int32_t shift = 0;
            if (mouse->modifiers() & Qt::ShiftModifier)
                shift |= 1;
            if (mouse->modifiers() & Qt::ControlModifier)
                shift |= 2;
            if (mouse->modifiers() & Qt::AltModifier)
                shift |= 4;
            int32_t x = static_cast<int32_t>(mouse->position().x());
            optViewPreset_MouseDown(i, button, shift, x, static_cast<int32_t>(mouse->position().y()));
        }
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void ViewPresets::optViewPreset_MouseDown(int32_t index, int32_t button, int32_t, int32_t& x, int32_t)
{
    if (!IsValidIndex(index))
        return;
    fSetCurrentPreset(index);
    if (button == 1) {
        RunGuarded(m_c.status, [&] { fApplyPreset(index); });
    } else if (button == 2) {
        // The menu opens under the button it acts on.
        QToolButton* b = m_c.widgets.optViewPreset[static_cast<size_t>(index)];
        const QPoint below = b->mapTo(b->window(), QPoint(0, b->height()));
        x = below.x() + 20;
        if (QMenu* menu = m_c.menus.Menu(QStringLiteral("mnuViewPreset")))
            menu->popup(b->mapToGlobal(QPoint(0, b->height())));
    }
}

void ViewPresets::mnuVP_Save_Click()
{
    fSavePreset(fCurrentPreset());
    m_c.parts.editState->fSetProjectModified(false);
}

void ViewPresets::mnuVP_Clear_Click()
{
    fClearPreset(fCurrentPreset());
    m_c.parts.editState->fSetProjectModified(false);
}

// ---- Saving, clearing, restoring -----------------------------------------------

void ViewPresets::fResetPresets()
{
    for (int32_t i = 0; i < PresetCount; ++i)
        fClearPreset(i);
    fSelectPreset(0);
    fDeselectPreset(0);
}

void ViewPresets::fClearPreset(int32_t index)
{
    if (!IsValidIndex(index))
        return;
    Slot(index).Clear();
    fUpdatePresetButton(index);
}

void ViewPresets::fSavePreset(int32_t index)
{
    if (!IsValidIndex(index) || !m_c.state.m_view)
        return;
    C3DViewPreset& preset = Slot(index);
    preset.SetView(std::make_shared<CView>(m_c.state.m_view->Clone()));
    auto camera = std::make_shared<C3DCamera>();
    if (m_c.state.m_view->Is3D())
        *camera = m_c.state.m_camera.Clone();
    else
        camera->Clear();
    preset.SetCamera(std::move(camera));
    fSelectPreset(index);
    fUpdatePresetButton(index);
}

void ViewPresets::fApplyPreset(int32_t index)
{
    if (!IsValidIndex(index))
        return;
    const C3DViewPreset& preset = Preset(index);
    if (preset.IsEmpty()) {
        m_c.view.SetFocus();
        return;
    }
    fSelectPreset(index);
    const std::shared_ptr<CView> view = preset.View();
    const int32_t kind = view->ViewFlag();
    const int32_t viewIndex = ViewKindToIndex(kind);
    m_c.state.m_views[static_cast<size_t>(viewIndex)].Load(*view);
    if (kind == CView::View3D && preset.Camera())
        m_c.state.m_camera.Load(*preset.Camera());
    m_c.parts.viewInput->fSelectView(viewIndex);
}

// ---- The project's preset texts --------------------------------------------------

bool ViewPresets::fPresetStrings(QStringList& texts, QList<int32_t>& slotNumbers) const
{
    texts.clear();
    slotNumbers.clear();
    for (int32_t i = 0; i < PresetCount; ++i) {
        const C3DViewPreset& preset = Preset(i);
        if (preset.IsEmpty())
            continue;
        texts << preset.Serialize();
        slotNumbers << i;
    }
    return !texts.isEmpty();
}

void ViewPresets::fLoadPresetStrings(const C3DProject& project, bool invariantNumbers)
{
    const QStringList& texts = project.ViewPresetStrings();
    std::array<bool, PresetCount> taken{};
    std::vector<qsizetype> unplaced;
    const auto read = [&](qsizetype entry, int32_t slot) {
        taken[static_cast<size_t>(slot)] = true;
        // A damaged text leaves its slot empty; the others still load.
        // The views convert the older preset text.
        Slot(slot).Deserialize(*m_c.parts.viewInput, texts.at(entry), invariantNumbers);
    };
    // Texts that know their slot first, so that none of them is pushed
    // aside by a text without one.
    for (qsizetype entry = 0; entry < texts.size(); ++entry) {
        const int32_t slot = project.ViewPresetSlot(entry);
        if (IsValidIndex(slot) && !taken[static_cast<size_t>(slot)])
            read(entry, slot);
        else
            unplaced.push_back(entry);
    }
    int32_t next = 0;
    for (qsizetype entry : unplaced) {
        while (next < PresetCount && taken[static_cast<size_t>(next)])
            ++next;
        if (next >= PresetCount)
            break;
        read(entry, next);
    }
    fRefreshPresetButtons();
}
