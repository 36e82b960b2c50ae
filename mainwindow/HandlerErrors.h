#pragma once

#include <functional>

struct MainContext;

// Runs the work of one handler that faces the user. An error the work
// raises (the program's own, or any other exception) is shown in a message
// box naming its number and description, and goes no further: an exception
// must never leave a Qt event handler.
void RunHandler(MainContext& c, const std::function<void()>& work);
