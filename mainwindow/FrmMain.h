#pragma once

#include <QMainWindow>

// The main window of the program. It stands empty for now; the view, curve
// and game panels fill it in.
class FrmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit FrmMain(QWidget* parent = nullptr);
};
