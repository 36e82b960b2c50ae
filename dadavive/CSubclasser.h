#pragma once

#include "DadaviveMessages.h"
#include "MessageTable.h"

#include <QPointer>

#include <cstdint>
#include <memory>

class QObject;
class QEvent;

namespace Dadavive {

// What the hook calls on its owner: `Before` for the messages of the
// before table ahead of the window's own handling (bHandled true skips that
// handling and the after side), `After` for the messages of the after table
// once the window has handled them.
class ISubclassOwner
{
public:
    virtual void After(intptr_t& lReturn, QObject* window, int32_t message, intptr_t wParam,
                       intptr_t lParam) = 0;
    virtual void Before(bool& bHandled, intptr_t& lReturn, QObject* window, int32_t message,
                        intptr_t wParam, intptr_t lParam) = 0;

protected:
    ~ISubclassOwner() = default;
};

// Watches one QWidget or QWindow with an event filter and routes the
// messages listed in its two tables to the owner. Qt events become the
// window messages of the same meaning, with the parameters packed as the
// platform packed them; messages without a Qt event of their own are raised
// at the nearest moment Qt gives (see the .cpp). The owner is held weakly:
// once it is gone the hook takes itself off the window.
class CSubclasser
{
public:
    CSubclasser();
    ~CSubclasser();
    CSubclasser(const CSubclasser&) = delete;
    CSubclasser& operator=(const CSubclasser&) = delete;

    // False when `window` is neither a QWidget nor a QWindow, or when a
    // window is already watched (that watch stays).
    bool Subclass(QObject* window, std::weak_ptr<ISubclassOwner> owner);
    // Takes the hook off the window; the tables keep their contents. Safe
    // when the window is already destroyed, and from inside an event.
    void UnSubclass();
    bool IsSubclassed() const;
    // The window watched, null when none (or when it has been destroyed).
    QObject* Window() const;

    // when: MSG_BEFORE (1) for the before table, any other value the after.
    void AddMsg(int32_t message, int32_t when);
    void DelMsg(int32_t message, int32_t when);
    const MessageTable& Table(int32_t when) const;

    // Raises a message that has no Qt event (a hot key, a command) through
    // the tables: before side, no own handling (result 0), after side.
    // Gives the result.
    intptr_t Deliver(int32_t message, intptr_t wParam, intptr_t lParam);

    struct State;
    class Hook;

private:
    std::shared_ptr<State> m_state;
    QPointer<Hook> m_hook;
};

}  // namespace Dadavive
