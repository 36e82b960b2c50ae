#include "FakeEngine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <utility>

namespace
{
// The text split at the separator where it stands outside double quotes.
QStringList SplitOutsideQuotes(const QString& text, QChar separator)
{
    QStringList parts;
    QString current;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        if (c == separator && !quoted) {
            parts << current;
            current.clear();
        } else {
            current += c;
        }
    }
    parts << current;
    return parts;
}

// The words of one command: blanks separate, double quotes group and go.
QStringList Words(const QString& command)
{
    QStringList words;
    QString current;
    bool quoted = false;
    bool inWord = false;
    for (const QChar c : command) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            inWord = true;
        } else if (c.isSpace() && !quoted) {
            if (inWord)
                words << current;
            current.clear();
            inWord = false;
        } else {
            current += c;
            inWord = true;
        }
    }
    if (inWord)
        words << current;
    return words;
}

// A 2x2 picture, uncompressed true colour: enough for a loader to open.
QByteArray TgaPicture()
{
    QByteArray tga(18, '\0');
    tga[2] = 2;
    tga[12] = 2;
    tga[14] = 2;
    tga[16] = 24;
    for (int i = 0; i < 4; ++i)
        tga.append("\x20\x80\xE0", 3);
    return tga;
}
}

FakeEngine::FakeEngine(Log log, QString home) : m_log(std::move(log)), m_home(std::move(home)) {}

void FakeEngine::Start(const QStringList& arguments)
{
    const QString commandLine = arguments.join(QLatin1Char(' '));
    m_log(QStringLiteral("cmdline ") + commandLine);
    QList<QStringList> commands;
    for (const QString& command : SplitOutsideQuotes(commandLine, QLatin1Char('+'))) {
        const QStringList words = Words(command);
        if (words.isEmpty())
            continue;
        if (words.size() >= 3 && words[0].compare(QLatin1String("set"), Qt::CaseInsensitive) == 0) {
            if (words[1].compare(QLatin1String("fs_game"), Qt::CaseInsensitive) == 0)
                m_mod = words[2];
            else if (words[1].compare(QLatin1String("fs_userpath"), Qt::CaseInsensitive) == 0)
                m_home = words[2];
            continue;
        }
        commands << words;
    }
    m_log(QStringLiteral("home ") + m_home);
    m_log(QStringLiteral("mod ") + m_mod);
    for (const QStringList& words : std::as_const(commands))
        Run(words);
}

void FakeEngine::RunLine(const QString& line)
{
    m_log(QStringLiteral("run ") + line);
    for (const QString& command : SplitOutsideQuotes(line, QLatin1Char(';'))) {
        QString text = command.trimmed();
        if (text.startsWith(QLatin1Char('/')) || text.startsWith(QLatin1Char('\\')))
            text.remove(0, 1);
        const QStringList words = Words(text);
        if (!words.isEmpty())
            Run(words);
    }
}

void FakeEngine::Run(const QStringList& words)
{
    const QString verb = words[0].toLower();
    if (verb == QLatin1String("screenshot"))
        Screenshot();
    else if ((verb == QLatin1String("demo") || verb == QLatin1String("playnetdemo")) && words.size() > 1)
        Demo(words[1]);
}

void FakeEngine::Screenshot()
{
    const QString folder = QDir(m_home).filePath(m_mod + QStringLiteral("/screenshots"));
    if (m_home.isEmpty() || !QDir().mkpath(folder)) {
        m_log(QStringLiteral("screenshot failed"));
        return;
    }
    for (int n = 0; n <= 9999; ++n) {
        const QString path = folder + QStringLiteral("/shot%1.tga").arg(n, 4, 10, QLatin1Char('0'));
        if (QFileInfo::exists(path))
            continue;
        QFile file(path);
        const QByteArray picture = TgaPicture();
        if (file.open(QIODevice::WriteOnly) && file.write(picture) == picture.size()) {
            m_log(QStringLiteral("screenshot ") + path);
            return;
        }
        break;
    }
    m_log(QStringLiteral("screenshot failed"));
}

void FakeEngine::Demo(const QString& name)
{
    QString relative = name;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString path = QDir(m_home).filePath(m_mod + QStringLiteral("/demos/") + relative);
    const bool found = !m_home.isEmpty() && QFileInfo(path).isFile();
    m_log(QStringLiteral("demo %1 %2").arg(name, found ? QStringLiteral("found") : QStringLiteral("missing")));
}
