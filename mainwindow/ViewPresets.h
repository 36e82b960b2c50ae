#pragma once

#include "C3DViewPreset.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

class C3DProject;
struct MainContext;

// The twelve view presets of the row of buttons optViewPreset: a left
// click restores a filled one, a right click opens the preset menu (save
// the active view into it, clear it). Presets are kept in the project, each
// in its slot.
class IViewPresets
{
public:
    static constexpr int32_t PresetCount = 12;

    virtual ~IViewPresets() = default;
    // All twelve empty, the current one 0, no button on.
    virtual void fResetPresets() = 0;
    virtual void fClearPreset(int32_t index) = 0;
    virtual void fSavePreset(int32_t index) = 0;
    virtual void fApplyPreset(int32_t index) = 0;
    virtual void fRefreshPresetButtons() = 0;
    // The text of every filled preset in slot order and the slot of each;
    // false when none is filled (saving a project).
    virtual bool fPresetStrings(QStringList& texts, QList<int32_t>& slotNumbers) const = 0;
    // Puts each of the project's preset texts into its slot, a text without
    // one into the next free slot (opening a project); the buttons follow.
    virtual void fLoadPresetStrings(const C3DProject& project, bool invariantNumbers) = 0;
    // The preset the menu acts on.
    virtual int32_t fCurrentPreset() const = 0;
};

class ViewPresets final : public QObject, public IViewPresets
{
public:
    explicit ViewPresets(MainContext& context);

    void fResetPresets() override;
    void fClearPreset(int32_t index) override;
    void fSavePreset(int32_t index) override;
    void fApplyPreset(int32_t index) override;
    void fRefreshPresetButtons() override;
    bool fPresetStrings(QStringList& texts, QList<int32_t>& slotNumbers) const override;
    void fLoadPresetStrings(const C3DProject& project, bool invariantNumbers) override;
    int32_t fCurrentPreset() const override;

    void fUpdatePresetButton(int32_t index);
    void fSetCurrentPreset(int32_t index);
    void fSelectPreset(int32_t index);
    void fDeselectPreset(int32_t index);
    // Button 1 restores, button 2 opens the menu under the button.
    // The X argument becomes the menu's left edge in the window.
    void optViewPreset_MouseDown(int32_t index, int32_t button, int32_t shift, int32_t& x, int32_t y);
    void mnuVP_Save_Click();
    void mnuVP_Clear_Click();
    const C3DViewPreset& Preset(int32_t index) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    C3DViewPreset& Slot(int32_t index);
    static bool IsValidIndex(int32_t index) { return index >= 0 && index < PresetCount; }

    MainContext& m_c;
    // A slot is made on first use, then only cleared.
    std::array<std::optional<C3DViewPreset>, PresetCount> m_viewPresets;
    // The preset the menu acts on: the button pressed last.
    int32_t m_currentPreset = 0;
};
