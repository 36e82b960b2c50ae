#include "MRecorderScripts.h"

#include "CCamPosSetting.h"
#include "CGameDefinition.h"
#include "MConsoleNames.h"
#include "MFileOp.h"
#include "MRuvResource.h"
#include "PathHelper.h"
#include "RecorderNames.h"

#include <QFileInfo>


namespace MRecorderScripts {

namespace {

constexpr int kScriptsPerKey = 25;
constexpr int kPositionsPerScript = 10;

// The last three (or two) digits, zero-padded: 7 gives "007" and "07".
QString Digits(int value, int width)
{
    return QString::number(value).rightJustified(width, QLatin1Char('0')).right(width);
}

struct KeyMode
{
    QString counter;  // {c}
    QString key;      // {K}
    QString scriptPrefix;  // {P}
    QString filePrefix;    // {F}
    QString cvarPrefix;    // {V}
    QString positionCommand;  // {p}
};

struct GameTexts
{
    QString quote;    // {q}
    QString message;  // {m}
};

GameTexts TextsOf(const CGameDefinition& game)
{
    if (game.GType() == 4)
        return {QStringLiteral("'"), QStringLiteral("addChatLine '")};
    return {QString(), QStringLiteral("echo ")};
}

KeyMode ModeOf(const CGameDefinition& game, const CCamPosSetting& s, int key)
{
    const bool etPro = game.GType() == 0;
    if (key == 2)
        return {QStringLiteral("rzInitCounter2"), s.RecordKey2(), s.ScriptNamePrefix2(),
                s.PositionFilenamePrefix2(), s.CvarsPrefix2(),
                QStringLiteral("freecam;wait;viewpos;cg_fov;wait;freecam;")};
    return {etPro ? QStringLiteral("rzInitCounter1") : QStringLiteral("rzInitCounter"), s.RecordKey(),
            s.ScriptNamePrefix(), s.PositionFilenamePrefix(), s.CvarsPrefix(),
            game.GType() == 4 ? QStringLiteral("freecamgetpos;g_fov;") : QStringLiteral("viewpos;cg_fov;")};
}

QString LocationLine(const CGameDefinition& game, const CCamPosSetting& s)
{
    return QStringLiteral("// This file must be located in '") + game.ModDirBasename() + QLatin1Char('\\')
           + s.ScriptsRelativeDir() + QLatin1Char('\'');
}

QString CounterLine(const KeyMode& m, const CCamPosSetting& s, const GameTexts& t)
{
    return QStringLiteral("seta ") + m.counter + QStringLiteral(" \"exec ") + s.ScriptsRelativeDir()
           + QLatin1Char('\\') + m.scriptPrefix + QStringLiteral("000.cfg; bind ") + m.key + QLatin1Char(' ')
           + t.quote + QStringLiteral("vstr ") + m.cvarPrefix + QStringLiteral("01") + t.quote + QLatin1Char('"');
}

std::string ToGameBytes(const QStringList& lines)
{
    QByteArray out;
    for (const QString& line : lines) {
        out += line.toLatin1();
        out += "\r\n";
    }
    return out.toStdString();
}

QString ScriptsDir(const CGameDefinition& game, const CCamPosSetting& s)
{
    return game.ModFullDir() + QLatin1Char('\\') + s.ScriptsRelativeDir();
}

// Written through a temporary file: the game never reads half a script,
// and a failed write leaves the old file.
bool WriteWhole(const QString& path, const QByteArray& bytes)
{
    return MFileOp::WriteFileData(path, bytes, true);
}

} // namespace

QString InitializationScriptPath(const CCamPosSetting& s)
{
    return s.ScriptsRelativeDir() + QLatin1Char('\\') + s.InitializationScriptName() + QStringLiteral(".cfg");
}

QString PositionScriptPath(const CCamPosSetting& s, int key, int n)
{
    const QString prefix = key == 2 ? s.ScriptNamePrefix2() : s.ScriptNamePrefix();
    return s.ScriptsRelativeDir() + QLatin1Char('\\') + prefix + Digits(n * kPositionsPerScript, 3)
           + QStringLiteral(".cfg");
}

std::string InitializationScript(const CGameDefinition& game, const CCamPosSetting& s)
{
    const GameTexts t = TextsOf(game);
    const QString header = game.FriendlyName() + QStringLiteral(" - ") + kRecorderTitle;
    QStringList lines;
    lines << QStringLiteral("//") << QStringLiteral("// ") + header
          << QStringLiteral("// ") + QString(header.size(), QChar(0x00AF)) << LocationLine(game, s)
          << CounterLine(ModeOf(game, s, 1), s, t);
    if (game.GType() == 0) {
        lines << CounterLine(ModeOf(game, s, 2), s, t)
              << QStringLiteral("seta rzInitCounter \"vstr rzInitCounter1;vstr rzInitCounter2\"");
    }
    lines << QStringLiteral("vstr rzInitCounter")
          << QStringLiteral("bind ") + s.ReinitializationKey() + QStringLiteral(" \"vstr rzInitCounter;clear;")
                 + t.message + QStringLiteral("Coordinates reinitialized") + t.quote + QLatin1Char('"')
          << QStringLiteral("seta rzMaxPointReached \"") + t.message
                 + QStringLiteral("The maximum number of points was reached.") + t.quote + QLatin1Char('"')
          << QStringLiteral("//eof");
    return ToGameBytes(lines);
}

std::string PositionScript(const CGameDefinition& game, const CCamPosSetting& s, int key, int n)
{
    const GameTexts t = TextsOf(game);
    const KeyMode m = ModeOf(game, s, key);
    QStringList lines;
    lines << LocationLine(game, s);
    for (int k = 1; k <= kPositionsPerScript; ++k) {
        const QString nnn = Digits(kPositionsPerScript * n + k, 3);
        QString next;
        QString exec;
        if (k < kPositionsPerScript) {
            next = m.cvarPrefix + Digits(k + 1, 2);
        } else if (n < kScriptsPerKey - 1) {
            next = m.cvarPrefix + QStringLiteral("01");
            exec = QStringLiteral(";exec ") + s.ScriptsRelativeDir() + QLatin1Char('\\') + m.scriptPrefix
                   + Digits((n + 1) * kPositionsPerScript, 3) + QStringLiteral(".cfg");
        } else {
            next = QStringLiteral("rzMaxPointReached");
        }
        lines << QStringLiteral("set ") + m.cvarPrefix + Digits(k, 2) + QStringLiteral(" \"clear;")
                     + m.positionCommand + QStringLiteral("condump ") + s.SavingRelativeDir() + QLatin1Char('\\')
                     + m.filePrefix + nnn + QLatin1Char('.') + game.ImportFileExtension() + QLatin1Char(';')
                     + t.message + QStringLiteral("cam_") + nnn + t.quote + QStringLiteral(";bind ") + m.key
                     + QLatin1Char(' ') + t.quote + QStringLiteral("vstr ") + next + t.quote + exec
                     + QLatin1Char('"');
    }
    lines << QStringLiteral("// eof");
    return ToGameBytes(lines);
}

bool WriteRecorderScripts(const CGameDefinition& game, const CCamPosSetting& s, const Messages& messages,
                          IInfoBox& box)
{
    if (!game.IsLocationValid()) {
        box.ShowInfo(kBoxTitle, messages.invalidLocation);
        return false;
    }
    // Stored settings are read as they are: a key or folder that another
    // version, or a hand, put there goes into no script.
    QStringList bound{s.RecordKey(), s.ReinitializationKey()};
    if (game.GType() == 0)
        bound << s.RecordKey2();
    for (const QString& key : bound) {
        if (!MConsoleNames::IsKeyName(key)) {
            box.ShowInfo(kBoxTitle, MRuvResource::FormatResText(messages.badKey, {key}));
            return false;
        }
    }
    for (const QString& folder : {s.ScriptsRelativeDir(), s.SavingRelativeDir()}) {
        if (!RecorderNames::IsFolderInside(folder)) {
            box.ShowInfo(kBoxTitle, MRuvResource::FormatResText(messages.badFolder, {folder}));
            return false;
        }
    }
    const QString dir = ScriptsDir(game, s);
    if (!MFileOp::FolderExists(dir) && !MFileOp::CreateFolderPath(dir)) {
        box.ShowInfo(kBoxTitle, MRuvResource::FormatResText(messages.folderNotCreated,
                                                            {RuvPlatform::PathHelper::ToNative(dir)}));
        return false;
    }
    const std::string init = InitializationScript(game, s);
    const int keys = game.GType() == 0 ? 2 : 1;
    for (int key = 1; key <= keys; ++key) {
        for (int n = 0; n < kScriptsPerKey; ++n) {
            const std::string text = PositionScript(game, s, key, n);
            if (!WriteWhole(game.ModFullDir() + QLatin1Char('\\') + PositionScriptPath(s, key, n),
                            QByteArray::fromStdString(text)))
                return false;
        }
    }
    return WriteWhole(game.ModFullDir() + QLatin1Char('\\') + InitializationScriptPath(s),
                      QByteArray::fromStdString(init));
}

bool PatchAutoexec(const CGameDefinition& game, const CCamPosSetting& s, const Messages& messages,
                   IInfoBox& box)
{
    const QString autoexec = game.ModFullDir() + QStringLiteral("\\autoexec.cfg");
    const QString backup = game.ModFullDir() + QStringLiteral("\\autoexec.bak_vava");
    const QString line = QStringLiteral("exec \"") + InitializationScriptPath(s)
                         + QStringLiteral("\" // ") + kRecorderTitle + QStringLiteral(" - initialization script");
    const QString prefix = MRuvResource::FormatResText(messages.updateError, {QStringLiteral("autoexec.cfg")});
    const auto fail = [&](const QString& why) {
        box.ShowInfo(kBoxTitle, prefix + QStringLiteral(" : ") + why + QLatin1Char('.'));
        return false;
    };

    const bool exists = MFileOp::FileExists(autoexec);
    QByteArray original;
    // An empty file reads as nothing, which is no failure here.
    if (exists && !MFileOp::ReadFileData(autoexec, original)
        && QFileInfo(RuvPlatform::PathHelper::ToNative(autoexec)).size() != 0)
        return fail(messages.cannotRead);

    const QString content = QString::fromLatin1(original);
    const QStringList lines = content.split(QLatin1Char('\n'));
    for (QString l : lines) {
        l = l.trimmed();
        if (!l.startsWith(QStringLiteral("//")) && l.contains(line))
            return true;
    }

    // The user's bytes stay as they are; only the new line is added.
    QByteArray updated = original;
    if (updated.isEmpty())
        updated = "\r\n";
    else if (!updated.endsWith('\n'))
        updated += "\r\n";
    updated += line.toLatin1();
    updated += "\r\n";

    // An empty file has nothing to keep.
    if (exists && !original.isEmpty() && !WriteWhole(backup, original))
        return fail(messages.cannotBackup);
    if (!WriteWhole(autoexec, updated))
        return fail(messages.cannotWrite);
    return true;
}

} // namespace MRecorderScripts
