#pragma once

#include "CGlobalAtom.h"
#include "CSubclasser.h"
#include "ComObject.h"
#include "Dadavive.h"
#include "X11HotKey.h"

#include <array>
#include <memory>

namespace Dadavive {

// The one creatable class of the library: see Dadavive.h.
class CSubclass final : public Com::Object<ICSubclass>
{
public:
    explicit CSubclass(Com::ModuleLock* module = nullptr);

    Com::HRESULT Init(QObject* window) override;
    void Terminate() override;

    bool AllMessagesBefore() const override { return Switch(kAllBefore); }
    void SetAllMessagesBefore(bool on) override { SetSwitch(kAllBefore, on); }
    bool AllMessages() const override { return Switch(kAll); }
    void SetAllMessages(bool on) override { SetSwitch(kAll, on); }
    bool MouseWheel() const override { return Switch(kMouseWheel); }
    void SetMouseWheel(bool on) override { SetSwitch(kMouseWheel, on); }
    bool MouseDown() const override { return Switch(kMouseDown); }
    void SetMouseDown(bool on) override { SetSwitch(kMouseDown, on); }
    bool Resizing() const override { return Switch(kResizing); }
    void SetResizing(bool on) override { SetSwitch(kResizing, on); }
    bool Move() const override { return Switch(kMove); }
    void SetMove(bool on) override { SetSwitch(kMove, on); }
    bool Paint() const override { return Switch(kPaint); }
    void SetPaint(bool on) override { SetSwitch(kPaint, on); }
    bool PaintBefore() const override { return Switch(kPaintBefore); }
    void SetPaintBefore(bool on) override { SetSwitch(kPaintBefore, on); }
    bool MenuChar() const override { return Switch(kMenuChar); }
    void SetMenuChar(bool on) override { SetSwitch(kMenuChar, on); }
    bool Command() const override { return Switch(kCommand); }
    void SetCommand(bool on) override { SetSwitch(kCommand, on); }

    bool HotKeyRegister(int32_t hkMod, int32_t hkKey) override;
    bool HotKeyUnregister() override;

    void SetEvents(ICSubclassEvents* sink) override { m_events.Set(sink); }

    // The hook, for tests of its tables.
    const CSubclasser& Subclasser() const { return m_subclasser; }
    CSubclasser& Subclasser() { return m_subclasser; }
    // The identifier of the hot key (the atom's value), 0 without one.
    int32_t HotKeyId() const { return m_atom ? m_atom->Value() : 0; }

private:
    ~CSubclass() override;

    enum SwitchId { kAllBefore, kAll, kMouseWheel, kMouseDown, kResizing, kMove, kPaint, kPaintBefore,
                    kMenuChar, kCommand, kHotKey, kSwitchCount };

    bool Switch(SwitchId id) const { return m_switches[id]; }
    void SetSwitch(SwitchId id, bool on);
    void SetHotKeyActive(bool on);
    void Before(bool& bHandled, intptr_t& lReturn, int32_t message, intptr_t wParam, intptr_t lParam);
    void After(intptr_t& lReturn, int32_t message, intptr_t wParam, intptr_t lParam);

    // The hook's weak link back to this object: it dies with the object, so
    // the hook can tell that its owner is gone without touching freed memory.
    class OwnerLink;
    friend class OwnerLink;

    CSubclasser m_subclasser;
    std::shared_ptr<OwnerLink> m_link;
    std::array<bool, kSwitchCount> m_switches{};
    bool m_terminated = false;
    std::unique_ptr<CGlobalAtom> m_atom;
    PlatformX11::X11HotKey m_hotKey;
    Com::EventSink<ICSubclassEvents> m_events;
};

}  // namespace Dadavive
