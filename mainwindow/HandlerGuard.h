#pragma once

// Runs one of the window's event handlers so that no error leaves it (Qt
// would abort): the program's own errors, and any other, are shown in a
// message box and the handler ends there.

#include "RuvError.h"
#include "StatusMessages.h"

#include <exception>
#include <utility>

template <typename Handler>
void RunGuarded(StatusMessages& status, Handler&& handler)
{
    try {
        std::forward<Handler>(handler)();
    } catch (const RuvError& e) {
        status.fShowMessageBox(e.description(), 16, QStringLiteral("Ruvadir"));
    } catch (const std::exception& e) {
        status.fShowMessageBox(QString::fromLocal8Bit(e.what()), 16, QStringLiteral("Ruvadir"));
    }
}
