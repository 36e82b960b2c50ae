#pragma once

// Runs one of the window's event handlers so that no error leaves it (Qt
// would abort): the program's own errors, and any other, are shown in a
// message box and the handler ends there.

#include "RuvError.h"
#include "StatusMessages.h"

#include <exception>
#include <utility>

// True when the handler ran to its end.
template <typename Handler>
bool RunGuarded(StatusMessages& status, Handler&& handler)
{
    try {
        std::forward<Handler>(handler)();
        return true;
    } catch (const RuvError& e) {
        status.fShowMessageBox(e.description(), 16, QStringLiteral("Ruvadir"));
    } catch (const std::exception& e) {
        status.fShowMessageBox(QString::fromLocal8Bit(e.what()), 16, QStringLiteral("Ruvadir"));
    }
    return false;
}

// Calls `end` when it goes out of scope: the closing half of a bracket
// (a model's Begin/End, a guard flag) that must close whatever happens in
// between.
template <class End>
class ScopeEnd
{
public:
    explicit ScopeEnd(End end) : m_end(std::move(end)) {}
    ~ScopeEnd() { m_end(); }
    ScopeEnd(const ScopeEnd&) = delete;
    ScopeEnd& operator=(const ScopeEnd&) = delete;

private:
    End m_end;
};
