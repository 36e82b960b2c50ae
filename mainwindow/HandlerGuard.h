#pragma once

// Handlers of the main window run their steps through RunGuarded: an error
// of the program (a model call that refuses, a full curve) ends in a
// message box instead of leaving a Qt event handler, which would abort the
// program.

#include "RuvError.h"
#include "StatusMessages.h"

#include <QString>

#include <exception>
#include <utility>

namespace HandlerGuard {

// The critical icon with an OK button.
constexpr int32_t ErrorBoxStyle = 16;

// True when the step ran to its end.
template <class F>
bool RunGuarded(StatusMessages& status, F&& step)
{
    try {
        std::forward<F>(step)();
        return true;
    } catch (const RuvError& e) {
        status.fShowMessageBox(e.description(), ErrorBoxStyle, e.source().isEmpty() ? QStringLiteral("Ruvadir")
                                                                                      : e.source());
    } catch (const std::exception& e) {
        status.fShowMessageBox(QString::fromLocal8Bit(e.what()), ErrorBoxStyle, QStringLiteral("Ruvadir"));
    }
    return false;
}

// Calls `end` when it goes out of scope: the closing half of a bracket
// that must close whatever happens in between.
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

}  // namespace HandlerGuard
