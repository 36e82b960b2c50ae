#include "MRuvScriptGenerator.h"

#include "C3DCameraScriptOption.h"
#include "C3DCurve.h"
#include "CGameDefinition.h"
#include "CameraScriptText.h"
#include "ControlRecord.h"
#include "MCommon.h"
#include "MConsoleNames.h"
#include "MRuvResource.h"
#include "PathHelper.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace MRuvScriptGenerator {

namespace {

// Style of the error box: Retry and Cancel buttons, information icon.
constexpr int32_t kRetryCancelInfo = 69;
constexpr int32_t kRetry = 4;

// The refusals of inputs that cannot give a script.
constexpr int32_t kTooFewPointsText = 900;
constexpr int32_t kPauseIntervalText = 901;
constexpr int32_t kBadBasenameText = 902;
constexpr int32_t kBadPauseKeyText = 903;
constexpr int32_t kConsoleBasenameText = 904;
constexpr int32_t kConsoleRelativeDirText = 905;
constexpr int32_t kConsoleBeforeText = 906;
constexpr int32_t kConsoleAfterText = 907;
constexpr int32_t kLongCommandLineText = 908;
constexpr int32_t kCommandCharacterText = 965;

// The engines cut a console line after this many characters.
constexpr size_t kMaxConsoleLine = 1023;

// Warsow with the camera limitation holds this many cameras; without it a
// camera stands every this many frames.
constexpr int32_t kWarsowLimitedCameras = 128;
constexpr int32_t kWarsowFramesPerCamera = 9;

QString WithTrailingSeparator(const QString& dir, QChar separator)
{
    if (dir.isEmpty() || dir.endsWith(QLatin1Char('\\')) || dir.endsWith(QLatin1Char('/')))
        return dir;
    return dir + separator;
}

// The folder as the game's exec commands name it: a folder already written
// with "/" keeps it, any other gets the "\" the games have always been given.
QChar GameSeparatorOf(const QString& dir)
{
    return dir.contains(QLatin1Char('/')) && !dir.contains(QLatin1Char('\\')) ? QLatin1Char('/')
                                                                              : QLatin1Char('\\');
}

// A file's name as the game must read it in a script: the bytes of the
// file as it stands on disk (UTF-8 here), not the script's Latin-1, which
// would name another file for any character beyond ASCII.
std::string FileNameBytes(const QString& name)
{
    return QFile::encodeName(name).toStdString();
}

// Added to a file's name for its temporary: no game reads it, and no
// user's script is named so.
const QString kTemporarySuffix = QStringLiteral(".ruvtmp");

// The files of one generation, written whole or not at all: each goes into
// a temporary file beside its target, and the set is renamed into place
// only when every one is written, so that the game never runs a chain of
// new and old chunks. A rename within one folder replaces the old file in
// one step; no sync to disk, as the scripts can be made again from the
// project. What is not committed is removed, and the old files stay.
class ScriptFileSet
{
public:
    // `nativeDir` is already a Linux path: the folder is resolved once per
    // generation, not once per chunk.
    ScriptFileSet(IScriptGeneratorUi& ui, const QString& nativeDir)
        : m_ui(ui), m_dir(nativeDir.endsWith(QLatin1Char('/')) ? nativeDir.chopped(1) : nativeDir)
    {
    }
    ~ScriptFileSet() { Discard(); }
    ScriptFileSet(const ScriptFileSet&) = delete;
    ScriptFileSet& operator=(const ScriptFileSet&) = delete;

    bool Write(const QString& name, const std::string& bytes)
    {
        const QString target = m_dir + QLatin1Char('/') + name;
        const QString temporary = target + kTemporarySuffix;
        m_ui.WritingFile(temporary);
        // A folder standing at the target would only fail the rename, once
        // other files of the set have replaced their old ones.
        if (QFileInfo(target).isDir())
            return false;
        m_files.push_back({temporary, target});
        const int fd = CreateNew(temporary);
        if (fd < 0)
            return false;
        QFile file;
        if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
            ::close(fd);
            return false;
        }
        return bytes.empty() || file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
    }

    // True when every file has replaced its target. Only a rename refused
    // part way (a folder made at a target meanwhile) can leave part of the
    // new set in place; Retry then writes the whole set again.
    bool Commit()
    {
        for (; m_renamed < m_files.size(); ++m_renamed) {
            const File& f = m_files[m_renamed];
            // QFile::rename would refuse to replace the old file.
            if (std::rename(QFile::encodeName(f.temporary).constData(), QFile::encodeName(f.target).constData()) != 0)
                return false;
        }
        return true;
    }

    // Removes the temporary files not renamed yet (a folder in the way of
    // one is not ours, and QFile::remove leaves folders alone).
    void Discard()
    {
        for (; m_renamed < m_files.size(); ++m_renamed)
            QFile::remove(m_files[m_renamed].temporary);
    }

private:
    struct File
    {
        QString temporary;
        QString target;
    };

    // Creates the temporary as a new file: whatever stands at its name (a
    // crashed generation's leftover, or a link planted to have the script
    // written elsewhere) is removed, never followed.
    static int CreateNew(const QString& path)
    {
        const QByteArray native = QFile::encodeName(path);
        constexpr int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
        int fd = ::open(native.constData(), flags, 0644);
        if (fd < 0 && errno == EEXIST && ::unlink(native.constData()) == 0)
            fd = ::open(native.constData(), flags, 0644);
        return fd;
    }

    IScriptGeneratorUi& m_ui;
    QString m_dir;
    std::vector<File> m_files;
    size_t m_renamed = 0;
};

// The games run on Windows too, and a separator would send the chunks into
// another folder than the chains name.
bool IsValidBasename(const QString& name)
{
    return RuvPlatform::PathHelper::IsValidWindowsName(name);
}

// A chain cannot be longer than this many chunks: a loop of links planted
// by hand ends here.
constexpr qsizetype kMaxChainedChunks = 1000000;

// The chunks an earlier generation of this very script chained, from its
// first file on: each chunk names the next at its very end ("Exec" and the
// name, or the starter's "exec_at_time"). Only names of this script's own
// form count (the base name exactly, digits, the extension), so that another
// script whose name begins alike ("cam1" beside "cam") keeps its chunks.
QSet<QString> ChainedChunks(const QString& nativeDir, const QString& basename, const QString& extension)
{
    static const QRegularExpression link(
        QStringLiteral(R"re((?:Exec "([^"\r\n]*)"|"Exec ([^"\r\n]*)"|exec_at_time \S+ ([^\r\n]*))$)re"));
    const QRegularExpression chunkName(QStringLiteral("^") + QRegularExpression::escape(basename)
                                       + QStringLiteral("[0-9]{3,}") + QRegularExpression::escape(extension)
                                       + QStringLiteral("$"));
    QSet<QString> chained;
    QString file = basename + extension;
    while (chained.size() < kMaxChainedChunks) {
        QFile chunk(nativeDir + QLatin1Char('/') + file);
        if (!chunk.open(QIODevice::ReadOnly))
            break;
        // The link is the chunk's last line, however long the chunk.
        constexpr qint64 kTail = 4096;
        chunk.seek(std::max<qint64>(0, chunk.size() - kTail));
        const QRegularExpressionMatch m = link.match(QString::fromLatin1(chunk.read(kTail)));
        if (!m.hasMatch())
            break;
        QByteArray named = m.captured(m.lastCapturedIndex()).toLatin1();
        named = named.mid(std::max(named.lastIndexOf('\\'), named.lastIndexOf('/')) + 1);
        // Older scripts named their files in Latin-1, newer ones in the
        // bytes of the file's own name.
        file.clear();
        for (const QString& candidate : {QFile::decodeName(named), QString::fromLatin1(named)}) {
            if (chunkName.match(candidate).hasMatch() && !chained.contains(candidate)) {
                file = candidate;
                break;
            }
        }
        if (file.isEmpty())
            break;
        chained.insert(file);
    }
    return chained;
}

// Deletes the chunks of the earlier generation that this one did not write
// again, and the temporaries of this script's chunks that a crashed
// generation left (no game reads a temporary).
void DeleteStaleChunks(const QString& nativeDir, const QString& basename, const QString& extension,
                       const QSet<QString>& chained, const QSet<QString>& written)
{
    QDir dir(nativeDir);
    for (const QString& name : chained)
        if (!written.contains(name))
            dir.remove(name);
    const QRegularExpression temporary(QStringLiteral("^") + QRegularExpression::escape(basename)
                                       + QStringLiteral("[0-9]*") + QRegularExpression::escape(extension)
                                       + QRegularExpression::escape(kTemporarySuffix) + QStringLiteral("$"));
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (temporary.match(name).hasMatch())
            dir.remove(name);
}

} // namespace

void AppendToChunks(std::vector<std::string>& chunks, size_t& current, size_t& currentLen,
                    const std::string& piece, int32_t maxLen)
{
    if (currentLen + piece.size() > size_t(std::max(maxLen, 0))) {
        chunks.insert(chunks.begin() + std::ptrdiff_t(current) + 1, piece);
        ++current;
        currentLen = piece.size();
    } else {
        chunks[current] += piece;
        currentLen += piece.size();
    }
}

std::string ChunkNumber(size_t index, size_t chunkCount)
{
    size_t width = 3;
    for (size_t last = chunkCount > 0 ? chunkCount - 1 : 0; last >= 1000; last /= 10)
        ++width;
    std::string digits = std::to_string(index);
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), '0');
    return digits;
}

namespace {

// Refuses what cannot give a script before anything is touched: every name
// that goes into the game's commands keeps the console rule.
bool CheckInputs(IScriptGeneratorUi& ui, const QString& title, const C3DCameraScriptOption& options)
{
    const int32_t language = ui.LanguageOffset();
    const auto refuse = [&](int32_t number, const std::vector<TaggedValue>& arguments = {}) {
        ui.ShowInputError(title, MRuvResource::GetResString(language, number, arguments));
        return false;
    };
    const C3DCurve* curve = options.CamCurve();
    if (!curve || !options.Game() || curve->ControlsCount() < 2)
        return refuse(kTooFewPointsText);
    if (options.ScriptStopEnabled()) {
        if (options.ScriptStopIncrement() < 1)
            return refuse(kPauseIntervalText);
        if (!MConsoleNames::IsKeyName(options.ScriptStopKey()))
            return refuse(kBadPauseKeyText, {options.ScriptStopKey()});
    }
    if (!IsValidBasename(options.ScriptBasename()))
        return refuse(kBadBasenameText, {options.ScriptBasename()});
    const std::pair<const QString&, int32_t> names[] = {
        {options.ScriptBasename(), kConsoleBasenameText},
        {options.RelativeDir(), kConsoleRelativeDirText},
        {options.CommandBefore(), kConsoleBeforeText},
        {options.CommandAfter(), kConsoleAfterText},
    };
    for (const auto& [name, text] : names) {
        const QString refusal = MConsoleNames::ConsoleNameRefusal(name, language, text);
        if (!refusal.isEmpty()) {
            ui.ShowInputError(title, refusal);
            return false;
        }
    }
    // The scripts are Latin-1: a command's character beyond it would reach
    // the game as "?", which is no command the user typed.
    for (int32_t point = 0; point < curve->ControlsCount(); ++point) {
        const QString command = curve->GetCommand(point);
        for (const char32_t c : command.toUcs4()) {
            if (c > 0xFF)
                return refuse(kCommandCharacterText, {point, QString::fromUcs4(&c, 1)});
        }
    }
    return true;
}

// The length of the longest line of a text, without its line break (the
// engines end a line at CR as well as at LF).
size_t LongestLine(const std::string& text)
{
    size_t longest = 0;
    size_t begin = 0;
    for (;;) {
        const size_t end = text.find_first_of("\r\n", begin);
        longest = std::max(longest, (end == std::string::npos ? text.size() : end) - begin);
        if (end == std::string::npos)
            return longest;
        begin = end + 1;
    }
}

// The cameras of a script and the length of Warsow's transitions between
// them, in frames.
struct CameraPlan
{
    int32_t cameras = 0;
    int32_t transitionLength = 0;
};

// Every game but Warsow gets a camera a frame. Warsow flies from camera to
// camera: it gets its wanted count of them (128 with the camera limitation,
// else one every 9 frames of the path and at least one a control point),
// taken evenly from the samples, and a transition length that makes the
// cameras times the length cover the path's frames. The count is rounded up
// so that 9-frame transitions reach the end of the path; a path shorter than
// its wanted count has a camera a sample, and no transition is shorter than
// a frame.
CameraPlan PlanCameras(const C3DCameraScriptOption& options, int32_t points)
{
    if (options.Game()->GType() != CameraScriptText::Warsow)
        return {points, 0};
    const C3DCurve& curve = *options.CamCurve();
    const int64_t steps = std::max(curve.StepCount(), 1);
    int64_t wanted = kWarsowLimitedCameras;
    if (!options.WarsowCameraLimitationEnabled())
        wanted = std::max<int64_t>((steps + kWarsowFramesPerCamera - 1) / kWarsowFramesPerCamera,
                                   curve.ControlsCount());
    const int64_t cameras = std::clamp<int64_t>(wanted, std::min(points, 2), points);
    const int64_t length = std::max<int64_t>((steps + cameras - 1) / cameras, 1);
    return {int32_t(cameras), int32_t(length)};
}

// The sample of camera `camera` of `cameras` taken evenly from `points`
// samples, the first and the last among them.
size_t SampleOfCamera(int32_t camera, int32_t cameras, int32_t points)
{
    if (cameras == points || cameras < 2)
        return size_t(camera);
    const int64_t span = int64_t(points) - 1;
    const int64_t gaps = int64_t(cameras) - 1;
    return size_t((2 * int64_t(camera) * span + gaps) / (2 * gaps));
}

} // namespace

bool GenerateCameraScripts(IScriptGeneratorUi& ui, const QString& appTitle, const QString& errorText,
                           const QString& errorCaption, const C3DCameraScriptOption& options,
                           int32_t& elapsedMs, int32_t& points)
{
    elapsedMs = 0;
    points = 0;
    if (!CheckInputs(ui, QLatin1Char(' ') + errorCaption, options))
        return false;
    const uint32_t start = MCommon::GetTickMs();
    std::vector<ControlRecord> samples;
    const int32_t sampled = options.CamCurve()->GetSampledControls(samples, false) + 1;
    const int32_t samplingMs = int32_t(MCommon::GetTickMs() - start);
    const bool result =
        WriteCameraScripts(ui, appTitle, errorText, errorCaption, options, samples, sampled, elapsedMs);
    elapsedMs += samplingMs;
    points = sampled;
    return result;
}

bool WriteCameraScripts(IScriptGeneratorUi& ui, const QString& appTitle, const QString& errorText,
                        const QString& errorCaption, const C3DCameraScriptOption& options,
                        const std::vector<ControlRecord>& samples, int32_t points, int32_t& elapsedMs)
{
    elapsedMs = 0;
    const QString title = QLatin1Char(' ') + errorCaption;
    if (!CheckInputs(ui, title, options))
        return false;
    C3DCurve* curve = options.CamCurve();
    const CGameDefinition* game = options.Game();

    const QString fullDir = WithTrailingSeparator(options.ScriptFullDir(),
                                                  RuvPlatform::PathHelper::SeparatorOf(options.ScriptFullDir()));
    const QString relDir = WithTrailingSeparator(options.RelativeDir(), GameSeparatorOf(options.RelativeDir()));
    const QString nativeDir = RuvPlatform::PathHelper::ToNative(fullDir);
    const QString& basename = options.ScriptBasename();
    const QString& extension = options.ScriptFileExtension();

    if (points < 1 || samples.empty() || size_t(points) > samples.size()) {
        ui.ShowInputError(title, MRuvResource::GetResString(ui.LanguageOffset(), kTooFewPointsText));
        return false;
    }

    const uint32_t start = MCommon::GetTickMs();
    CameraScriptText text(options);
    const int32_t gameType = text.GameType();
    const bool isEtPro = gameType == CameraScriptText::EtPro;
    const bool isWarsow = gameType == CameraScriptText::Warsow;
    const CameraPlan plan = PlanCameras(options, points);

    const std::string preamble = text.Preamble(appTitle, samples.front());
    std::vector<std::string> chunks(1);
    if (!options.AutostartEnabled())
        chunks[0] = preamble;
    if (!options.CommandBefore().isEmpty())
        chunks[0] += "exec " + FileNameBytes(options.CommandBefore()) + "\r\n";

    size_t current = 0;
    size_t currentLen = chunks[0].size();
    int32_t previousSegment = -1;
    float smallestFov = 90.0f;
    const int32_t maxLen = game->MaxScriptLen();
    std::string piece;
    for (int32_t camera = 0; camera < plan.cameras; ++camera) {
        const ControlRecord& s = samples[SampleOfCamera(camera, plan.cameras, points)];
        const bool opens = s.SegmentNumber != previousSegment;
        if (opens)
            previousSegment = s.SegmentNumber;
        if (s.Fov < smallestFov)
            smallestFov = s.Fov;
        // Warsow's step lines carry no command.
        const QString command = opens && !isWarsow ? curve->GetCommand(s.SegmentNumber) : QString();
        piece.clear();
        text.AppendStepLine(piece, s, camera, opens, command);
        // The command stays as the user typed it, but the game would cut a
        // longer line and run the rest as another command.
        if (!command.isEmpty()) {
            const size_t longest = LongestLine(piece);
            if (longest > kMaxConsoleLine) {
                ui.ShowInputError(title, MRuvResource::GetResString(ui.LanguageOffset(), kLongCommandLineText,
                                                                    s.SegmentNumber, int32_t(longest)));
                return false;
            }
        }
        AppendToChunks(chunks, current, currentLen, piece, maxLen);
    }
    if (isWarsow)
        for (const std::string& line : text.WarsowTransitions(plan.cameras, plan.transitionLength))
            AppendToChunks(chunks, current, currentLen, line, maxLen);

    elapsedMs = int32_t(MCommon::GetTickMs() - start);
    AppendToChunks(chunks, current, currentLen, text.Tail(smallestFov), maxLen);

    const size_t count = chunks.size();
    const auto numbered = [&](size_t i) {
        return basename + QString::fromStdString(ChunkNumber(i, count)) + extension;
    };

    std::string starter;
    if (options.AutostartEnabled()) {
        starter = preamble;
        if (isEtPro)
            CameraScriptText::ApplyEtDeveloperMode(starter, smallestFov);
        // The start time is written locale-free: the game reads "." only.
        starter += "exec_at_time " + MCommon::FormatDouble(curve->StartTime()).toStdString() + " "
                   + FileNameBytes(relDir + numbered(0));
    } else if (isEtPro) {
        CameraScriptText::ApplyEtDeveloperMode(chunks[0], smallestFov);
    }

    // Each chunk but the last runs the next one; the chain text goes after
    // the chunk's last line, beyond its maximum length.
    for (size_t i = 0; i + 1 < count; ++i) {
        const std::string next = FileNameBytes(relDir + numbered(i + 1));
        if (options.ScriptStopEnabled() && (i + 1) % size_t(options.ScriptStopIncrement()) == 0)
            chunks[i] += "wait;bind " + CameraScriptText::ToLatin1(options.ScriptStopKey()) + " \"Exec " + next + "\"";
        else
            chunks[i] += "Exec \"" + next + "\"";
    }

    // Read before the new set replaces the first file that starts the chain.
    const QSet<QString> chained = ChainedChunks(nativeDir, basename, extension);
    QSet<QString> written;
    const auto writeAll = [&](ScriptFileSet& files) {
        written.clear();
        if (!isWarsow && !files.Write(QStringLiteral("1stPos") + extension, text.FirstPositionFile(samples.front())))
            return false;
        if (options.AutostartEnabled() && !files.Write(basename + extension, starter))
            return false;
        for (size_t i = 0; i < count; ++i) {
            const QString name = (i == 0 && !options.AutostartEnabled()) ? basename + extension : numbered(i);
            if (!files.Write(name, chunks[i]))
                return false;
            written.insert(name);
        }
        return files.Commit();
    };
    for (;;) {
        ScriptFileSet files(ui, nativeDir);
        if (writeAll(files))
            break;
        files.Discard();
        if (ui.ShowScriptFileError(title, errorText, kRetryCancelInfo) != kRetry)
            return false;
    }

    // Only once the new script stands are the chunks of an earlier, longer
    // script removed: a failed generation leaves the old one playable.
    DeleteStaleChunks(nativeDir, basename, extension, chained, written);
    return true;
}

} // namespace MRuvScriptGenerator
