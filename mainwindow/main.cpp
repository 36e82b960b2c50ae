#include "FrmMain.h"
#include "MArrayConvert.h"
#include "MainServicesReal.h"
#include "ProgramStart.h"
#include "X11Windows.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    // The game window, hot keys and synthesized keys go through X11.
    qputenv("QT_QPA_PLATFORM", "xcb");
    if (!X11Windows::Available()) {
        std::fprintf(stderr, "Ruvadir needs an X display: none could be opened (DISPLAY=\"%s\").\n",
                     qgetenv("DISPLAY").constData());
        return 1;
    }
    // The menus are the window's own, drawn with its pictures and themes.
    QApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ruvadir"));
    QApplication::setOrganizationName(QStringLiteral("Viziviz"));

    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    MArrayConvert::SetCommandLineText(MArrayConvert::JoinArguments(arguments));

    MainServices services = MakeRealServices();
    ProgramStart::RegisterLibrariesAndReport(QCoreApplication::applicationDirPath(), *services.dialogs);

    std::unique_ptr<FrmMain> window;
    if (const int status = ProgramStart::StartMainWindow(std::move(services), window); status != 0)
        return status;
    return app.exec();
}
