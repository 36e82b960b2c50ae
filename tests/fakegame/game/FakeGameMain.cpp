// A stand-in for a Quake 3 engine game, for the tests that start a game,
// find its window, type into its console and close it. It takes what the
// test sets from the environment (the game itself gets only the engine's
// arguments on its command line):
//   RUV_FAKEGAME_TITLE      the window title ("Fake Game")
//   RUV_FAKEGAME_CLASS      the class part of WM_CLASS (the instance part is
//                           the executable's name, as for the real engines)
//   RUV_FAKEGAME_LOG        the log file, appended to (standard error if unset)
//   RUV_FAKEGAME_HOME       the home folder that holds the mod folders
//   RUV_FAKEGAME_WITHDRAWN  "1": the window is created but never shown
//   RUV_FAKEGAME_GRAB       a letter: Alt+letter is grabbed for the whole
//                           display, as a program holding that hot key does
//
// Its log has one line per event (line breaks in texts written as \n, \r):
//   start <pid> / cwd <folder> / arg <n> <text> (argv, 0 first) /
//   cmdline <arguments joined with blanks> / home <folder> / mod <mod>
//   grab <letter> held|refused / hotkey <letter>
//   window <id> withdrawn|shown
//   key down|up <X key code>
//   console open|closed / paste <clipboard text> / run <line>
//   screenshot <path>|failed / demo <name> found|missing
//   close            (WM_DELETE_WINDOW came; the program then ends)
//
// The console: the key left of 1 (X key code 49, whatever the layout prints
// on it, as the engines read it) opens it and types "`" into its line, or
// closes it; Backspace deletes, Ctrl+V pastes the CLIPBOARD text, Enter runs
// the line; other keys type their text.
#include "FakeEngine.h"
#include "X11HotKey.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QRasterWindow>

#include <cstdio>
#include <memory>

namespace
{
constexpr quint32 kConsoleKeycode = 49;

class LogFile
{
public:
    explicit LogFile(const QString& path)
    {
        if (!path.isEmpty()) {
            m_file.setFileName(path);
            m_open = m_file.open(QIODevice::WriteOnly | QIODevice::Append);
        }
        if (!m_open)
            m_open = m_file.open(stderr, QIODevice::WriteOnly);
    }

    void Write(QString line)
    {
        line.replace(QLatin1Char('\n'), QLatin1String("\\n"));
        line.replace(QLatin1Char('\r'), QLatin1String("\\r"));
        m_lines << line;
        if (m_lines.size() > 12)
            m_lines.removeFirst();
        if (m_open) {
            m_file.write(line.toUtf8() + '\n');
            m_file.flush();
        }
    }

    const QStringList& Recent() const { return m_lines; }

private:
    QFile m_file;
    bool m_open = false;
    QStringList m_lines;
};

class GameWindow : public QRasterWindow
{
public:
    GameWindow(LogFile& log, FakeEngine& engine) : m_log(log), m_engine(engine) {}

protected:
    void exposeEvent(QExposeEvent* event) override
    {
        if (isExposed() && !m_shown) {
            m_shown = true;
            m_log.Write(QStringLiteral("window %1 shown").arg(winId()));
        }
        QRasterWindow::exposeEvent(event);
    }

    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(QRect(QPoint(0, 0), size()), QColor(24, 28, 36));
        painter.setPen(QColor(220, 220, 200));
        int y = 20;
        painter.drawText(10, y, title());
        y += 24;
        painter.drawText(10, y, m_open ? QStringLiteral("] ") + m_line + QStringLiteral("_")
                                       : QStringLiteral("(console closed)"));
        for (const QString& line : m_log.Recent()) {
            y += 18;
            painter.drawText(10, y, line);
        }
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->isAutoRepeat())
            return;
        m_log.Write(QStringLiteral("key down %1").arg(event->nativeScanCode()));
        if (event->nativeScanCode() == kConsoleKeycode) {
            m_open = !m_open;
            m_line = m_open ? QStringLiteral("`") : QString();
            m_log.Write(m_open ? QStringLiteral("console open") : QStringLiteral("console closed"));
        } else if (m_open) {
            Edit(event);
        }
        update();
    }

    void keyReleaseEvent(QKeyEvent* event) override
    {
        if (!event->isAutoRepeat())
            m_log.Write(QStringLiteral("key up %1").arg(event->nativeScanCode()));
    }

    void closeEvent(QCloseEvent* event) override
    {
        m_log.Write(QStringLiteral("close"));
        event->accept();
        QGuiApplication::quit();
    }

private:
    void Edit(QKeyEvent* event)
    {
        switch (event->key()) {
        case Qt::Key_Backspace:
            m_line.chop(1);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            const QString line = m_line;
            m_line.clear();
            m_engine.RunLine(line);
            return;
        }
        case Qt::Key_V:
            if (event->modifiers().testFlag(Qt::ControlModifier)) {
                const QString text = QGuiApplication::clipboard()->text(QClipboard::Clipboard);
                m_log.Write(QStringLiteral("paste ") + text);
                m_line += text;
                return;
            }
            break;
        default:
            break;
        }
        const QString text = event->text();
        if (!event->modifiers().testFlag(Qt::ControlModifier) && !text.isEmpty() && text.at(0).isPrint())
            m_line += text;
    }

    LogFile& m_log;
    FakeEngine& m_engine;
    bool m_shown = false;
    bool m_open = false;
    QString m_line;
};
}

int main(int argc, char** argv)
{
    // Before Qt takes the options it knows out of argv.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QGuiApplication app(argc, argv);
    const QString windowClass = qEnvironmentVariable("RUV_FAKEGAME_CLASS");
    if (!windowClass.isEmpty())
        QGuiApplication::setApplicationName(windowClass);  // WM_CLASS is made from it

    LogFile log(qEnvironmentVariable("RUV_FAKEGAME_LOG"));
    log.Write(QStringLiteral("start %1").arg(QCoreApplication::applicationPid()));
    log.Write(QStringLiteral("cwd ") + QDir::currentPath());
    for (int i = 0; i < arguments.size(); ++i)
        log.Write(QStringLiteral("arg %1 %2").arg(i).arg(arguments[i]));

    FakeEngine engine([&log](const QString& line) { log.Write(line); },
                      qEnvironmentVariable("RUV_FAKEGAME_HOME"));
    engine.Start(arguments.mid(1));

    std::unique_ptr<PlatformX11::X11HotKey> grab;
    const QString grabLetter = qEnvironmentVariable("RUV_FAKEGAME_GRAB").toUpper();
    if (grabLetter.size() == 1 && grabLetter.at(0) >= QLatin1Char('A') && grabLetter.at(0) <= QLatin1Char('Z')) {
        grab = std::make_unique<PlatformX11::X11HotKey>();
        const bool held = grab->Register(PlatformX11::HotKeyAlt, grabLetter.at(0).unicode(),
                                         [&log, grabLetter] { log.Write(QStringLiteral("hotkey ") + grabLetter); });
        log.Write(QStringLiteral("grab %1 %2").arg(grabLetter, held ? QStringLiteral("held") : QStringLiteral("refused")));
    }

    GameWindow window(log, engine);
    window.setTitle(qEnvironmentVariable("RUV_FAKEGAME_TITLE", QStringLiteral("Fake Game")));
    window.resize(480, 300);
    if (qEnvironmentVariable("RUV_FAKEGAME_WITHDRAWN") == QLatin1String("1")) {
        window.create();
        log.Write(QStringLiteral("window %1 withdrawn").arg(window.winId()));
    } else {
        window.show();
    }
    return QGuiApplication::exec();
}
