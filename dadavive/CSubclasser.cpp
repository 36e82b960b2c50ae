#include "CSubclasser.h"
#include "DadaviveKeys.h"

#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

#include <algorithm>

// Messages and the Qt events they come from:
//   WM_LBUTTONDOWN/RBUTTONDOWN/MBUTTONDOWN  MouseButtonPress and MouseButtonDblClick
//   WM_xBUTTONUP                            MouseButtonRelease
//   WM_MOUSEMOVE                            MouseMove
//   WM_MOUSEWHEEL / WM_MOUSEHWHEEL          Wheel (vertical / horizontal)
//   WM_PAINT                                Paint (widgets), Expose while exposed (windows)
//   WM_SIZE                                 Resize
//   WM_MOVE                                 Move
//   WM_SHOWWINDOW                           Show (wParam 1), Hide (wParam 0)
//   WM_SETFOCUS / WM_KILLFOCUS              FocusIn / FocusOut
//   WM_ACTIVATE                             WindowActivate (1) / WindowDeactivate (0)
//   WM_CLOSE                                Close
//   WM_KEYDOWN/KEYUP (SYS with Alt)         KeyPress / KeyRelease
// Messages Qt has no event for, raised without an own handling of the
// window (result 0 unless a handler sets one):
//   WM_CHAR / WM_SYSCHAR    after the key press that typed the text, one per character
//   WM_MENUCHAR             after WM_SYSCHAR for an Alt+character that no menu took
//                           (a key press carrying Alt reaches the window only then)
//   WM_GETMINMAXINFO        ahead of Show and of every Resize; the limits the
//                           handler leaves become the window's minimum and maximum size
//   WM_EXITSIZEMOVE         at the first button release or press after the window
//                           moved while a button was down (the window manager keeps
//                           the drag itself)
//   WM_COMMAND              for a combo box: CBN_SELCHANGE when the user picks an
//                           entry, CBN_EDITCHANGE when the user edits its text
//   WM_HOTKEY               from the hot-key registration, through Deliver

namespace Dadavive {

struct CSubclasser::State
{
    MessageTable before;
    MessageTable after;
    QPointer<QObject> window;
    QPointer<QObject> inner;  // the line edit of an editable combo box
    std::weak_ptr<ISubclassOwner> owner;
    bool attached = false;
    bool buttonDown = false;
    bool movedWhileDown = false;
    bool inMinMax = false;
};

class CSubclasser::Hook final : public QObject
{
public:
    explicit Hook(std::shared_ptr<State> state) : m_state(std::move(state)) {}

    int depth = 0;

    bool eventFilter(QObject* watched, QEvent* e) override;

    // Before side, no own handling, after side.
    intptr_t Synthetic(int32_t message, intptr_t wParam, intptr_t lParam, bool* handledOut = nullptr);

    void Detach();

private:
    struct DepthGuard
    {
        Hook* hook;
        explicit DepthGuard(Hook* h) : hook(h) { ++hook->depth; }
        ~DepthGuard() { --hook->depth; }
    };

    bool Route(QObject* watched, QEvent* e, int32_t message, intptr_t wParam, intptr_t lParam);
    bool Mouse(QObject* watched, QMouseEvent* e);
    void MinMax();
    QPoint ToWindow(QObject* watched, QPointF pos) const;

    std::shared_ptr<State> m_state;
};

namespace {

int32_t KeyStateFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    int32_t flags = 0;
    if (buttons & Qt::LeftButton)
        flags |= 1;  // MK_LBUTTON
    if (buttons & Qt::RightButton)
        flags |= 2;  // MK_RBUTTON
    if (mods & Qt::ShiftModifier)
        flags |= 4;  // MK_SHIFT
    if (mods & Qt::ControlModifier)
        flags |= 8;  // MK_CONTROL
    if (buttons & Qt::MiddleButton)
        flags |= 16;  // MK_MBUTTON
    // The callers read 32 as the Alt key; the first extra button, which
    // shares the bit on the platform, is left out so that it cannot pass
    // for Alt.
    if (mods & Qt::AltModifier)
        flags |= 32;
    if (buttons & Qt::ExtraButton2)
        flags |= 64;  // MK_XBUTTON2
    return flags;
}

int32_t ButtonMessage(Qt::MouseButton button, QEvent::Type type)
{
    int32_t base;
    switch (button) {
    case Qt::LeftButton: base = WM_LBUTTONDOWN; break;
    case Qt::RightButton: base = WM_RBUTTONDOWN; break;
    case Qt::MiddleButton: base = WM_MBUTTONDOWN; break;
    default: return 0;
    }
    // A double click is the second press of a window that does not ask for
    // double-click messages.
    return type == QEvent::MouseButtonRelease ? base + 1 : base;
}

int32_t SizeKindOf(QObject* window)
{
    Qt::WindowStates states;
    if (auto* w = qobject_cast<QWidget*>(window))
        states = w->windowState();
    else if (auto* win = qobject_cast<QWindow*>(window))
        states = win->windowStates();
    if (states & Qt::WindowMinimized)
        return SIZE_MINIMIZED;
    if (states & Qt::WindowMaximized)
        return SIZE_MAXIMIZED;
    return SIZE_RESTORED;
}

QPoint ClientTopLeft(QObject* window)
{
    if (auto* w = qobject_cast<QWidget*>(window))
        return w->isWindow() ? w->geometry().topLeft() : w->pos();
    if (auto* win = qobject_cast<QWindow*>(window))
        return win->geometry().topLeft();
    return {};
}

// The platform's 16-bit size limits: Qt's "no maximum" is far beyond them.
int32_t Clamp16(int v)
{
    return std::clamp(v, 0, 32767);
}

}  // namespace

QPoint CSubclasser::Hook::ToWindow(QObject* watched, QPointF pos) const
{
    QPoint p = pos.toPoint();
    if (watched != m_state->window) {
        auto* from = qobject_cast<QWidget*>(watched);
        auto* to = qobject_cast<QWidget*>(m_state->window.data());
        if (from && to)
            p = from->mapTo(to, p);
    }
    return p;
}

void CSubclasser::Hook::Detach()
{
    State& st = *m_state;
    if (!st.attached)
        return;
    st.attached = false;
    if (st.window)
        st.window->removeEventFilter(this);
    if (st.inner)
        st.inner->removeEventFilter(this);
    // Combo box notifications are connected with this hook as context.
    if (st.window)
        QObject::disconnect(st.window, nullptr, this, nullptr);
    if (st.inner)
        QObject::disconnect(st.inner, nullptr, this, nullptr);
    st.window = nullptr;
    st.inner = nullptr;
    st.buttonDown = st.movedWhileDown = false;
}

intptr_t CSubclasser::Hook::Synthetic(int32_t message, intptr_t wParam, intptr_t lParam, bool* handledOut)
{
    const std::shared_ptr<State> keep = m_state;
    State& st = *keep;
    if (handledOut)
        *handledOut = false;
    if (!st.attached || !st.window)
        return 0;
    const bool inBefore = st.before.Qualifies(message);
    const bool inAfter = st.after.Qualifies(message);
    if (!inBefore && !inAfter)
        return 0;
    DepthGuard guard(this);
    QObject* window = st.window;
    intptr_t result = 0;
    if (inBefore) {
        auto owner = st.owner.lock();
        if (!owner) {
            Detach();
            return 0;
        }
        bool handled = false;
        owner->Before(handled, result, window, message, wParam, lParam);
        if (handled) {
            if (handledOut)
                *handledOut = true;
            return result;
        }
    }
    if (inAfter && st.attached && st.window) {
        auto owner = st.owner.lock();
        if (!owner) {
            Detach();
            return 0;
        }
        owner->After(result, window, message, wParam, lParam);
    }
    return result;
}

bool CSubclasser::Hook::Route(QObject* watched, QEvent* e, int32_t message, intptr_t wParam, intptr_t lParam)
{
    const std::shared_ptr<State> keep = m_state;
    State& st = *keep;
    const bool inBefore = st.before.Qualifies(message);
    const bool inAfter = st.after.Qualifies(message);
    if (!inBefore && !inAfter)
        return false;
    DepthGuard guard(this);
    QObject* window = st.window;
    intptr_t result = 0;
    if (inBefore) {
        auto owner = st.owner.lock();
        if (!owner) {
            Detach();
            return false;
        }
        bool handled = false;
        owner->Before(handled, result, window, message, wParam, lParam);
        if (handled)
            return true;  // the window's own handling is skipped
        if (!st.attached)
            return false;  // unhooked by the handler: Qt delivers as usual
    }
    if (!inAfter)
        return false;
    // The window's own handling now, so that the after side runs behind it.
    // The event's accepted state is left as the window set it: Qt then
    // propagates an ignored mouse event to the parent as usual.
    QPointer<QObject> alive(watched);
    watched->event(e);
    if (!alive || !st.attached || !st.window)
        return true;
    auto owner = st.owner.lock();
    if (!owner) {
        Detach();
        return true;
    }
    owner->After(result, window, message, wParam, lParam);
    return true;
}

void CSubclasser::Hook::MinMax()
{
    State& st = *m_state;
    if (st.inMinMax || !(st.before.Qualifies(WM_GETMINMAXINFO) || st.after.Qualifies(WM_GETMINMAXINFO)))
        return;
    QSize minSize, maxSize;
    auto* w = qobject_cast<QWidget*>(st.window.data());
    auto* win = qobject_cast<QWindow*>(st.window.data());
    if (w) {
        minSize = w->minimumSize();
        maxSize = w->maximumSize();
    } else if (win) {
        minSize = win->minimumSize();
        maxSize = win->maximumSize();
    } else {
        return;
    }
    MinMaxInfo info;
    info.ptMinTrackSize = {Clamp16(minSize.width()), Clamp16(minSize.height())};
    info.ptMaxTrackSize = {Clamp16(maxSize.width()), Clamp16(maxSize.height())};
    info.ptMaxSize = info.ptMaxTrackSize;
    const MinMaxInfo given = info;
    st.inMinMax = true;
    Synthetic(WM_GETMINMAXINFO, 0, reinterpret_cast<intptr_t>(&info));
    // Apply only what the handler changed, so that an untouched "no
    // maximum" stays unlimited; a resize that the new limits cause comes
    // back here and is not asked again.
    if (st.attached && st.window) {
        QSize newMin = minSize, newMax = maxSize;
        if (info.ptMinTrackSize.x != given.ptMinTrackSize.x)
            newMin.setWidth(std::max(0, info.ptMinTrackSize.x));
        if (info.ptMinTrackSize.y != given.ptMinTrackSize.y)
            newMin.setHeight(std::max(0, info.ptMinTrackSize.y));
        if (info.ptMaxTrackSize.x != given.ptMaxTrackSize.x)
            newMax.setWidth(std::max(0, info.ptMaxTrackSize.x));
        if (info.ptMaxTrackSize.y != given.ptMaxTrackSize.y)
            newMax.setHeight(std::max(0, info.ptMaxTrackSize.y));
        if (w) {
            if (newMin != minSize)
                w->setMinimumSize(newMin);
            if (newMax != maxSize)
                w->setMaximumSize(newMax);
        } else if (win) {
            if (newMin != minSize)
                win->setMinimumSize(newMin);
            if (newMax != maxSize)
                win->setMaximumSize(newMax);
        }
    }
    st.inMinMax = false;
}

bool CSubclasser::Hook::Mouse(QObject* watched, QMouseEvent* e)
{
    State& st = *m_state;
    const QEvent::Type type = e->type();
    if (type == QEvent::MouseMove) {
        const QPoint p = ToWindow(watched, e->position());
        return Route(watched, e, WM_MOUSEMOVE, KeyStateFlags(e->buttons(), e->modifiers()),
                     MakeLong(p.x(), p.y()));
    }
    if (st.movedWhileDown) {
        st.movedWhileDown = false;
        Synthetic(WM_EXITSIZEMOVE, 0, 0);
        if (!st.attached)
            return false;
    }
    st.buttonDown = type != QEvent::MouseButtonRelease || e->buttons() != Qt::NoButton;
    const int32_t message = ButtonMessage(e->button(), type);
    if (message == 0)
        return false;
    const QPoint p = ToWindow(watched, e->position());
    // The key state of a press includes the pressed button; of a release,
    // the buttons still held.
    return Route(watched, e, message, KeyStateFlags(e->buttons(), e->modifiers()), MakeLong(p.x(), p.y()));
}

bool CSubclasser::Hook::eventFilter(QObject* watched, QEvent* e)
{
    const std::shared_ptr<State> keep = m_state;
    State& st = *keep;
    if (!st.attached || !st.window)
        return false;
    if (st.before.IsEmpty() && st.after.IsEmpty())
        return false;
    if (watched != st.window && watched != st.inner)
        return false;

    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
        return Mouse(watched, static_cast<QMouseEvent*>(e));
    case QEvent::Wheel: {
        auto* we = static_cast<QWheelEvent*>(e);
        const QPoint delta = we->angleDelta();
        const QPoint g = we->globalPosition().toPoint();
        const int32_t keys = KeyStateFlags(we->buttons(), we->modifiers());
        const bool vertical = delta.y() != 0 || delta.x() == 0;
        return Route(watched, e, vertical ? WM_MOUSEWHEEL : WM_MOUSEHWHEEL,
                     MakeLong(keys, vertical ? delta.y() : delta.x()), MakeLong(g.x(), g.y()));
    }
    case QEvent::Paint:
        if (watched != st.window)
            return false;
        return Route(watched, e, WM_PAINT, 0, 0);
    case QEvent::Expose: {
        auto* win = qobject_cast<QWindow*>(watched);
        if (!win || !win->isExposed())
            return false;
        return Route(watched, e, WM_PAINT, 0, 0);
    }
    case QEvent::Resize: {
        if (watched != st.window)
            return false;
        MinMax();
        if (!st.attached)
            return false;
        const QSize s = static_cast<QResizeEvent*>(e)->size();
        return Route(watched, e, WM_SIZE, SizeKindOf(watched), MakeLong(s.width(), s.height()));
    }
    case QEvent::Move: {
        if (watched != st.window)
            return false;
        if (st.buttonDown)
            st.movedWhileDown = true;
        const QPoint p = ClientTopLeft(watched);
        return Route(watched, e, WM_MOVE, 0, MakeLong(p.x(), p.y()));
    }
    case QEvent::Show:
        if (watched != st.window)
            return false;
        MinMax();
        if (!st.attached)
            return false;
        return Route(watched, e, WM_SHOWWINDOW, 1, 0);
    case QEvent::Hide:
        if (watched != st.window)
            return false;
        return Route(watched, e, WM_SHOWWINDOW, 0, 0);
    case QEvent::FocusIn:
        return Route(watched, e, WM_SETFOCUS, 0, 0);
    case QEvent::FocusOut:
        return Route(watched, e, WM_KILLFOCUS, 0, 0);
    case QEvent::WindowActivate:
        return watched == st.window && Route(watched, e, WM_ACTIVATE, 1, 0);
    case QEvent::WindowDeactivate:
        return watched == st.window && Route(watched, e, WM_ACTIVATE, 0, 0);
    case QEvent::Close:
        return watched == st.window && Route(watched, e, WM_CLOSE, 0, 0);
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* ke = static_cast<QKeyEvent*>(e);
        const bool alt = ke->modifiers() & Qt::AltModifier;
        const bool press = e->type() == QEvent::KeyPress;
        // X repeats a held key as a release and a press; the key stays
        // down, so only the press is a message (a repeated key-down).
        if (!press && ke->isAutoRepeat())
            return false;
        const int32_t vk = VirtualKeyFromQt(ke->key(), ke->modifiers());
        // Repeat count 1, the scan code in bits 16-23, the previous state
        // (bit 30) for auto-repeats, the transition state (bit 31) for
        // releases, and the context bit (29) while Alt is down.
        uint32_t lp = 1u | ((ke->nativeScanCode() & 0xFFu) << 16);
        if (alt)
            lp |= 1u << 29;
        if (!press || ke->isAutoRepeat())
            lp |= 1u << 30;
        if (!press)
            lp |= 1u << 31;
        const intptr_t lParam = static_cast<intptr_t>(static_cast<int32_t>(lp));
        int32_t message = press ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP);
        const QString text = ke->text();
        QPointer<QObject> alive(watched);
        const bool consumed = Route(watched, e, message, vk, lParam);
        if (!press || consumed || !alive || !st.attached)
            return consumed;
        for (const QChar c : text) {
            if (!st.attached)
                break;
            Synthetic(alt ? WM_SYSCHAR : WM_CHAR, c.unicode(), lParam);
        }
        if (alt && !(ke->modifiers() & Qt::ControlModifier) && text.size() == 1 && text[0].isPrint()
            && st.attached) {
            // A key press carrying Alt reaches the window only when no menu
            // or shortcut took it: the moment the platform asked the window
            // about an unassigned menu character. Low word the character,
            // high word the menu type (0: the menu bar).
            bool handled = false;
            const intptr_t r = Synthetic(WM_MENUCHAR, MakeLong(text[0].unicode(), 0), 0, &handled);
            // A handled answer other than "ignore" (high word) means the
            // key was the menu's: it goes no further.
            if (handled && HiWord(r) != 0) {
                e->accept();
                return true;
            }
        }
        return consumed;
    }
    default:
        return false;
    }
}

CSubclasser::CSubclasser() : m_state(std::make_shared<State>()) {}

CSubclasser::~CSubclasser()
{
    UnSubclass();
    if (m_hook) {
        // Destroyed from inside one of its own events (a handler released
        // the owner): the hook finishes that event first.
        if (m_hook->depth > 0)
            m_hook->deleteLater();
        else
            delete m_hook.data();
    }
}

bool CSubclasser::Subclass(QObject* window, std::weak_ptr<ISubclassOwner> owner)
{
    if (!window || m_state->attached)
        return false;
    if (!qobject_cast<QWidget*>(window) && !qobject_cast<QWindow*>(window))
        return false;
    if (!m_hook)
        m_hook = new Hook(m_state);
    State& st = *m_state;
    st.window = window;
    st.owner = std::move(owner);
    st.attached = true;
    st.buttonDown = st.movedWhileDown = false;
    window->installEventFilter(m_hook);
    if (auto* combo = qobject_cast<QComboBox*>(window)) {
        Hook* hook = m_hook;
        QObject::connect(combo, &QComboBox::activated, hook,
                         [hook] { hook->Synthetic(WM_COMMAND, MakeLong(0, CBN_SELCHANGE), 0); });
        // Real clicks on an editable combo box land in its line edit.
        if (QLineEdit* edit = combo->lineEdit()) {
            st.inner = edit;
            edit->installEventFilter(m_hook);
            QObject::connect(edit, &QLineEdit::textEdited, hook,
                             [hook] { hook->Synthetic(WM_COMMAND, MakeLong(0, CBN_EDITCHANGE), 0); });
        }
    }
    return true;
}

void CSubclasser::UnSubclass()
{
    if (m_hook)
        m_hook->Detach();
    m_state->attached = false;
}

bool CSubclasser::IsSubclassed() const
{
    return m_state->attached && m_state->window;
}

QObject* CSubclasser::Window() const
{
    return m_state->attached ? m_state->window.data() : nullptr;
}

void CSubclasser::AddMsg(int32_t message, int32_t when)
{
    (when == MSG_BEFORE ? m_state->before : m_state->after).Add(message);
}

void CSubclasser::DelMsg(int32_t message, int32_t when)
{
    (when == MSG_BEFORE ? m_state->before : m_state->after).Remove(message);
}

const MessageTable& CSubclasser::Table(int32_t when) const
{
    return when == MSG_BEFORE ? m_state->before : m_state->after;
}

intptr_t CSubclasser::Deliver(int32_t message, intptr_t wParam, intptr_t lParam)
{
    if (!m_hook)
        return 0;
    return m_hook->Synthetic(message, wParam, lParam);
}

}  // namespace Dadavive
