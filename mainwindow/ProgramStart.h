#pragma once

// The start of the program: the two component libraries registered, the
// main window created, loaded and shown.

#include "MainServices.h"

#include <QString>
#include <QStringList>

#include <memory>

class FrmMain;
class MainPartsFactory;

namespace ProgramStart {

// Registers the map library and the subclassing library found in `folder`
// (libdorado.so, libdadavive.so) when their class is not registered or its
// key names a file that is gone. One message for each library that could
// not be registered, with the loader's reason.
QStringList RegisterLibraries(const QString& folder);
// The same, each failure told in a box; the start goes on.
void RegisterLibrariesAndReport(const QString& folder, IDialogs& dialogs);

// Creates, loads and shows the main window into `window`. 0 when it stands;
// 1 when its creation or load failed: the window is gone and a box has
// told the error's text.
int StartMainWindow(MainServices services, std::unique_ptr<FrmMain>& window,
                    std::unique_ptr<MainPartsFactory> factory = nullptr);

}  // namespace ProgramStart
