#pragma once

#include "RuvError.h"
#include "StatusMessages.h"

#include <QString>

// Runs a handler of a control the user worked: an error of the program's
// that it lets through is shown in a box (its number and description,
// titled by its source), never left to Qt, which would end the program.
template <typename Handler>
void RunUserHandler(StatusMessages& status, Handler&& handler)
{
    try {
        handler();
    } catch (const RuvError& e) {
        status.fShowMessageBox(QStringLiteral("Error n\u00B0") + QString::number(e.number()) + QStringLiteral(" : ")
                                   + e.description(),
                               16, e.source());
    }
}
