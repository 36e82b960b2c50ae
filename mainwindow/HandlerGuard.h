#pragma once

// The handlers of the preview, the point grid and the value tools run their
// work through RunGuarded: an error of the program is shown in a message
// box, and no exception leaves a Qt event handler.

#include "MainContext.h"
#include "RuvError.h"
#include "StatusMessages.h"

#include <exception>

template <class F>
void RunGuarded(MainContext& c, F&& work)
{
    try {
        work();
    } catch (const RuvError& e) {
        c.status.fShowMessageBox(e.description(), 16, e.source());
    } catch (const std::exception& e) {
        c.status.fShowMessageBox(QString::fromLocal8Bit(e.what()), 16, QString());
    }
}
