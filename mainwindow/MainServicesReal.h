#pragma once

// The real services of the main window, on the program's own helpers:
// the OpenGL view control, the map library created by class id, QFileDialog
// and MMsgBoxEx, MForms, MClipboard, MKeyboard, MRegistry, QElapsedTimer
// and MCursor.

#include "MainServices.h"

#include <QStringList>

// Every service real.
MainServices MakeRealServices();

// The file-dialog filter text ("Ruvadir project (*.vava;*.ep3t)|*.vava;*.ep3t|")
// as Qt's name filters ("Ruvadir project (*.vava *.ep3t)"), one per pair.
QStringList FileDialogNameFilters(const QString& filter);
