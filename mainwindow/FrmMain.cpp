#include "FrmMain.h"

FrmMain::FrmMain(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Ruvadir"));
    resize(1024, 768);
}
