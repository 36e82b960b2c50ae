#include "ViewPresets.h"

#include "C3DProject.h"

void ViewPresets::fResetPresets()
{
}

void ViewPresets::fClearPreset(int32_t)
{
}

void ViewPresets::fSavePreset(int32_t)
{
}

void ViewPresets::fApplyPreset(int32_t)
{
}

void ViewPresets::fRefreshPresetButtons()
{
}

bool ViewPresets::fPresetStrings(QStringList&, QList<int32_t>&) const
{
    return false;
}

void ViewPresets::fLoadPresetStrings(const C3DProject&, bool)
{
}

int32_t ViewPresets::fCurrentPreset() const
{
    return 0;
}

void ViewPresets::fUpdatePresetButton(int32_t)
{
}

void ViewPresets::fSetCurrentPreset(int32_t)
{
}

void ViewPresets::fSelectPreset(int32_t)
{
}

void ViewPresets::fDeselectPreset(int32_t)
{
}

void ViewPresets::optViewPreset_MouseDown(int32_t, int32_t, int32_t, int32_t&, int32_t)
{
}

void ViewPresets::mnuVP_Save_Click()
{
}

void ViewPresets::mnuVP_Clear_Click()
{
}

const C3DViewPreset& ViewPresets::Preset(int32_t) const
{
    static const C3DViewPreset empty;
    return empty;
}

bool ViewPresets::eventFilter(QObject* watched, QEvent* event)
{
    return QObject::eventFilter(watched, event);
}
ViewPresets::ViewPresets(MainContext& context) : m_c(context) {}

std::optional<CView> ViewPresets::GetViewCopy(int32_t)
{
    return {};
}

int32_t ViewPresets::ScaleNormalize(int32_t scaleIndex)
{
    return scaleIndex;
}
