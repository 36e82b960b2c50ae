#include "CSubclass.h"

#include <cmath>
#include <cstring>
#include <initializer_list>

namespace Dadavive {

class CSubclass::OwnerLink final : public ISubclassOwner
{
public:
    explicit OwnerLink(CSubclass* owner) : owner(owner) {}
    CSubclass* owner;

    // A handler may drop the last reference to the object: it stays alive
    // until its own steps for the message are done.
    void After(intptr_t& lReturn, QObject*, int32_t message, intptr_t wParam, intptr_t lParam) override
    {
        if (!owner)
            return;
        Com::ComPtr<CSubclass> keep(owner);
        owner->After(lReturn, message, wParam, lParam);
    }
    void Before(bool& bHandled, intptr_t& lReturn, QObject*, int32_t message, intptr_t wParam,
                intptr_t lParam) override
    {
        if (!owner)
            return;
        Com::ComPtr<CSubclass> keep(owner);
        owner->Before(bHandled, lReturn, message, wParam, lParam);
    }
};

namespace {

struct SwitchMessages
{
    std::initializer_list<int32_t> messages;
    int32_t side;
};

// Per switch, in the order of CSubclass::SwitchId: the messages it adds and
// the side they go to.
const SwitchMessages kSwitchTable[] = {
    {{ALL_MESSAGES}, MSG_BEFORE},                                    // AllMessagesBefore
    {{ALL_MESSAGES}, MSG_AFTER},                                     // AllMessages
    {{WM_MOUSEWHEEL}, MSG_AFTER},                                    // MouseWheel
    {{WM_LBUTTONDOWN, WM_MBUTTONDOWN, WM_RBUTTONDOWN}, MSG_BEFORE},  // MouseDown
    {{WM_GETMINMAXINFO}, MSG_BEFORE},                                // Resizing
    {{WM_MOVE}, MSG_BEFORE},                                         // Move
    {{WM_PAINT}, MSG_AFTER},                                         // Paint
    {{WM_PAINT}, MSG_BEFORE},                                        // PaintBefore
    {{WM_MENUCHAR}, MSG_BEFORE},                                     // MenuChar
    {{WM_COMMAND}, MSG_AFTER},                                       // Command
    {{WM_HOTKEY}, MSG_AFTER},                                        // hot key active
};

// Rounds half to even, as the platform's integer conversion did.
int32_t RoundHalfEven(double v)
{
    return static_cast<int32_t>(std::nearbyint(v));
}

}  // namespace

CSubclass::CSubclass(Com::ModuleLock* module)
    : Com::Object<ICSubclass>(module), m_link(std::make_shared<OwnerLink>(this))
{
}

CSubclass::~CSubclass()
{
    // Forget the link first: nothing may reach an object being destroyed.
    m_link->owner = nullptr;
    Terminate();
    m_link.reset();
}

Com::HRESULT CSubclass::Init(QObject* window)
{
    if (m_terminated || m_subclasser.IsSubclassed())
        return Com::E_UNEXPECTED;
    if (!m_subclasser.Subclass(window, m_link))
        return Com::E_INVALIDARG;
    return Com::S_OK;
}

void CSubclass::Terminate()
{
    if (m_terminated)
        return;
    HotKeyUnregister();
    m_subclasser.UnSubclass();
    m_terminated = true;
    m_events.Clear();
}

void CSubclass::SetSwitch(SwitchId id, bool on)
{
    if (m_switches[id] == on)
        return;
    m_switches[id] = on;
    const SwitchMessages& sw = kSwitchTable[id];
    const SwitchId allOfSide = sw.side == MSG_BEFORE ? kAllBefore : kAll;
    if (on) {
        for (int32_t m : sw.messages)
            m_subclasser.AddMsg(m, sw.side);
        // Adding one message turns a table of every message into a table of
        // that message alone: keep "every message" in force while its switch
        // reads true.
        if (id != allOfSide && m_switches[allOfSide])
            m_subclasser.AddMsg(ALL_MESSAGES, sw.side);
        return;
    }
    if (id == allOfSide) {
        // Emptying the side must not silence the switches that still read
        // true: their messages come back.
        m_subclasser.DelMsg(ALL_MESSAGES, sw.side);
        for (int s = 0; s < kSwitchCount; ++s)
            if (s != id && m_switches[s] && kSwitchTable[s].side == sw.side)
                for (int32_t m : kSwitchTable[s].messages)
                    m_subclasser.AddMsg(m, sw.side);
        return;
    }
    // While every message is on, removing one changes nothing.
    for (int32_t m : sw.messages)
        m_subclasser.DelMsg(m, sw.side);
}

void CSubclass::SetHotKeyActive(bool on)
{
    SetSwitch(kHotKey, on);
}

bool CSubclass::HotKeyRegister(int32_t hkMod, int32_t hkKey)
{
    if (m_terminated)
        return false;
    if (m_atom) {
        m_hotKey.Unregister();
        m_atom.reset();
    }
    m_atom = std::make_unique<CGlobalAtom>();
    SetHotKeyActive(true);
    const int32_t id = m_atom->Value();
    const intptr_t lParam = MakeLong(hkMod, hkKey);
    CSubclasser* subclasser = &m_subclasser;
    return m_hotKey.Register(static_cast<uint32_t>(hkMod), static_cast<uint32_t>(hkKey),
                             [subclasser, id, lParam] { subclasser->Deliver(WM_HOTKEY, id, lParam); });
}

bool CSubclass::HotKeyUnregister()
{
    SetHotKeyActive(false);
    if (!m_atom)
        return false;
    const bool result = m_hotKey.Unregister();
    m_atom.reset();
    return result;
}

void CSubclass::Before(bool& bHandled, intptr_t& lReturn, int32_t message, intptr_t wParam, intptr_t lParam)
{
    if (m_terminated)
        return;
    if (m_switches[kAllBefore])
        m_events.Raise([&](ICSubclassEvents& e) { e.AllMessagesBefore(bHandled, lReturn, message, lParam, wParam); });
    if (m_terminated)
        return;

    switch (message) {
    case WM_MENUCHAR:
        if (m_switches[kMenuChar]) {
            const int16_t key = SignedLoWord(wParam);
            const int32_t menuType = SignedHiWord(wParam);
            int32_t mcReturn = MNC_IGNORE;
            m_events.Raise([&](ICSubclassEvents& e) { e.MenuChar(bHandled, mcReturn, key, menuType, lParam); });
            // The menu code goes in the high word; a code that does not fit
            // leaves the result as it was.
            if (mcReturn >= -32768 && mcReturn <= 32767)
                lReturn = MakeLong(0, mcReturn);
        }
        break;
    case WM_MOVE:
        if (m_switches[kMove]) {
            int16_t x = SignedLoWord(lParam);
            int16_t y = SignedHiWord(lParam);
            m_events.Raise([&](ICSubclassEvents& e) { e.Move(x, y); });
        }
        break;
    case WM_PAINT:
        if (m_switches[kPaintBefore])
            m_events.Raise([&](ICSubclassEvents& e) { e.PaintBefore(bHandled, lReturn, lParam, wParam); });
        break;
    case WM_GETMINMAXINFO:
        if (m_switches[kResizing] && lParam != 0) {
            MinMaxInfo info;
            std::memcpy(&info, reinterpret_cast<const void*>(lParam), sizeof info);
            int16_t minX = static_cast<int16_t>(info.ptMinTrackSize.x);
            int16_t maxX = static_cast<int16_t>(info.ptMaxTrackSize.x);
            int16_t minY = static_cast<int16_t>(info.ptMinTrackSize.y);
            int16_t maxY = static_cast<int16_t>(info.ptMaxTrackSize.y);
            m_events.Raise([&](ICSubclassEvents& e) { e.Resizing(minX, maxX, minY, maxY); });
            info.ptMinTrackSize = {minX, minY};
            info.ptMaxTrackSize = {maxX, maxY};
            std::memcpy(reinterpret_cast<void*>(lParam), &info, sizeof info);
            bHandled = true;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (m_switches[kMouseDown]) {
            const int32_t flags = static_cast<int32_t>(wParam);
            int32_t button = (flags & MK_LBUTTON) ? 1 : (flags & MK_MBUTTON) ? 4 : (flags & MK_RBUTTON) ? 2 : 0;
            int32_t keys = 0;
            if (flags & MK_CONTROL)
                keys += 2;
            if (flags & MK_ALT)
                keys += 4;
            if (flags & MK_SHIFT)
                keys += 1;
            const int32_t x = SignedLoWord(lParam);
            const int32_t y = SignedHiWord(lParam);
            m_events.Raise([&](ICSubclassEvents& e) { e.MouseDown(button, keys, x, y, bHandled); });
        }
        break;
    default:
        break;
    }
}

void CSubclass::After(intptr_t& lReturn, int32_t message, intptr_t wParam, intptr_t lParam)
{
    if (m_terminated)
        return;
    if (m_switches[kAll])
        m_events.Raise([&](ICSubclassEvents& e) { e.AllMessages(lReturn, message, lParam, wParam); });
    if (m_terminated)
        return;

    switch (message) {
    case WM_PAINT:
        if (m_switches[kPaint])
            m_events.Raise([](ICSubclassEvents& e) { e.Paint(); });
        break;
    case WM_COMMAND:
        if (m_switches[kCommand])
            m_events.Raise([&](ICSubclassEvents& e) { e.Command(lReturn, lParam, wParam); });
        break;
    case WM_MOUSEWHEEL:
        if (m_switches[kMouseWheel]) {
            int32_t keys = LoWord(wParam);
            int32_t distance = RoundHalfEven(SignedHiWord(wParam) / 120.0);
            int32_t x = SignedLoWord(lParam);
            int32_t y = SignedHiWord(lParam);
            m_events.Raise([&](ICSubclassEvents& e) { e.MouseWheel(distance, x, y, keys); });
        }
        break;
    case WM_HOTKEY:
        if (m_switches[kHotKey])
            m_events.Raise([&](ICSubclassEvents& e) { e.HotKeyPressed(LoWord(lParam), HiWord(lParam)); });
        break;
    default:
        break;
    }
}

}  // namespace Dadavive
