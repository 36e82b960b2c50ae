#include "FrmMain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // The game window, hot keys and synthesized keys go through X11.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ruvadir"));
    QApplication::setOrganizationName(QStringLiteral("Viziviz"));
    FrmMain w;
    w.show();
    return app.exec();
}
