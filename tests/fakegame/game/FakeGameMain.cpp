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
//   RUV_FAKEGAME_FRAME_MS   the length of a frame in ms (16): 100 plays a
//                           game at 10 frames a second
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
//
// Input is read as an engine reads it: once a frame (16 ms unless told
// otherwise), all the keys of that frame in their order. Whether Ctrl is
// held is what the game saw in the frames before, not what the X server
// says: a V that comes in the same frame as its Ctrl is a plain V (which
// types nothing, Ctrl being down), and Enter then runs an empty line.
// A game's frames fall wherever its own clock puts them, so two keys less
// than a frame apart may share one; the fake takes the worst case and reads
// a key in the frame of the key before it whenever it follows that one by
// less than a frame, so that a sender passes only by leaving a whole frame
// where it must, never by a lucky moment. The frames are counted in the X
// server's time of the keys, so that a busy machine that wakes the fake
// late does not merge frames that a game keeping its pace would have kept
// apart.
#include "FakeEngine.h"
#include "X11HotKey.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QRasterWindow>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace
{
constexpr quint32 kConsoleKeycode = 49;
constexpr int kDefaultFrameMs = 16;

int FrameMs()
{
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("RUV_FAKEGAME_FRAME_MS", &ok);
    return ok && ms > 0 ? ms : kDefaultFrameMs;
}

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
    GameWindow(LogFile& log, FakeEngine& engine) : m_log(log), m_engine(engine)
    {
        m_frame.setTimerType(Qt::PreciseTimer);
        m_frame.setInterval(m_frameMs);
        QObject::connect(&m_frame, &QTimer::timeout, this, [this] { RunFrames(); });
        m_frame.start();
        m_clock.start();
    }

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

    void keyPressEvent(QKeyEvent* event) override { Queue(event, true); }
    void keyReleaseEvent(QKeyEvent* event) override { Queue(event, false); }

    void closeEvent(QCloseEvent* event) override
    {
        m_log.Write(QStringLiteral("close"));
        event->accept();
        QGuiApplication::quit();
    }

private:
    struct KeyInput
    {
        bool down;
        quint32 code;
        int key;
        QString text;
        quint32 serverTime;  // ms, wrapping
        qint64 arrived;      // ms of m_clock
    };

    void Queue(const QKeyEvent* event, bool down)
    {
        if (event->isAutoRepeat())
            return;
        m_pending.append({down, event->nativeScanCode(), event->key(), down ? event->text() : QString(),
                          static_cast<quint32>(event->timestamp()), m_clock.elapsed()});
    }

    // The frames that are over: the last one waits until a frame has passed
    // since its last key, since keys of it may still be on their way.
    void RunFrames()
    {
        while (!m_pending.isEmpty()) {
            qsizetype count = 1;
            while (count < m_pending.size()
                   && m_pending[count].serverTime - m_pending[count - 1].serverTime < quint32(m_frameMs))
                ++count;
            if (count == m_pending.size() && m_clock.elapsed() - m_pending.last().arrived < m_frameMs)
                return;
            const QList<KeyInput> frame = m_pending.mid(0, count);
            m_pending.remove(0, count);
            RunFrame(frame);
        }
    }

    // One frame of the engine, with the Ctrl state that the earlier frames
    // left.
    void RunFrame(const QList<KeyInput>& keys)
    {
        const bool ctrlSeen = m_ctrlDown;
        for (const KeyInput& k : keys) {
            m_log.Write(QStringLiteral("key %1 %2").arg(k.down ? QStringLiteral("down") : QStringLiteral("up")).arg(k.code));
            if (k.key == Qt::Key_Control)
                m_ctrlDown = k.down;
            if (!k.down)
                continue;
            if (k.code == kConsoleKeycode) {
                m_open = !m_open;
                m_line = m_open ? QStringLiteral("`") : QString();
                m_log.Write(m_open ? QStringLiteral("console open") : QStringLiteral("console closed"));
            } else if (m_open) {
                Edit(k, ctrlSeen);
            }
        }
        update();
    }

    void Edit(const KeyInput& k, bool ctrlSeen)
    {
        switch (k.key) {
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
            if (ctrlSeen) {
                const QString text = QGuiApplication::clipboard()->text(QClipboard::Clipboard);
                m_log.Write(QStringLiteral("paste ") + text);
                m_line += text;
                return;
            }
            break;
        default:
            break;
        }
        // With Ctrl down the text is a control character, which types nothing.
        if (!k.text.isEmpty() && k.text.at(0).isPrint())
            m_line += k.text;
    }

    LogFile& m_log;
    FakeEngine& m_engine;
    bool m_shown = false;
    const int m_frameMs = FrameMs();
    QTimer m_frame;
    QElapsedTimer m_clock;
    QList<KeyInput> m_pending;
    bool m_ctrlDown = false;  // as the frames so far have seen it
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
