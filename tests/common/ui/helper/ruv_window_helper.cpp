// A window with a line edit. It reports on standard output:
//   ready <window id>      once the window is shown
//   text:<text>            after every change of the line edit
// and takes commands on standard input, one a line:
//   clear                  empties the line edit and gives it the focus
//   setclip <text>         puts the text on the clipboard (this program owns it)
//   quit                   ends the program
// Argument 1 is the window title.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QSocketNotifier>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>
#include <unistd.h>

namespace
{
void Report(const QString& line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ruvhelper"));
    const QString title = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("Ruvadir Helper");

    QWidget window;
    window.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new QLineEdit(&window);
    edit->setObjectName(QStringLiteral("edit"));
    layout->addWidget(edit);
    window.resize(320, 80);
    QObject::connect(edit, &QLineEdit::textChanged, [](const QString& text) {
        QString escaped = text;
        escaped.replace(QLatin1Char('\n'), QLatin1String("\\n"));
        Report(QStringLiteral("text:") + escaped);
    });

    QByteArray pending;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[1024];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            QApplication::quit();
            return;
        }
        pending.append(buffer, static_cast<qsizetype>(n));
        qsizetype end = 0;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QString command = QString::fromUtf8(pending.left(end));
            pending.remove(0, end + 1);
            if (command == QLatin1String("clear")) {
                edit->clear();
                window.activateWindow();
                edit->setFocus();
                Report(QStringLiteral("cleared"));
            } else if (command.startsWith(QLatin1String("setclip "))) {
                QApplication::clipboard()->setText(command.mid(8));
                Report(QStringLiteral("clip"));
            } else if (command == QLatin1String("quit")) {
                QApplication::quit();
            }
        }
    });

    window.show();
    edit->setFocus();
    QTimer::singleShot(0, [&] { Report(QStringLiteral("ready %1").arg(window.winId())); });
    return QApplication::exec();
}
