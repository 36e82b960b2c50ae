#include "MRuvScriptGenerator.h"

#include "C3DCameraScriptOption.h"
#include "C3DCurve.h"
#include "CGameDefinition.h"
#include "CameraScriptText.h"
#include "ControlRecord.h"
#include "MCommon.h"
#include "MRuvResource.h"
#include "PathHelper.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QFile>

namespace MRuvScriptGenerator {

namespace {

// Style of the error box: Retry and Cancel buttons, information icon.
constexpr int32_t kRetryCancelInfo = 69;
constexpr int32_t kRetry = 4;

// The refusals of inputs that cannot give a script.
constexpr int32_t kTooFewPointsText = 900;
constexpr int32_t kPauseIntervalText = 901;
constexpr int32_t kBadBasenameText = 902;

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

// Chunk files are plain game scripts, rewritten on every generation: a
// direct write keeps a path of thousands of chunks fast.
// `nativePath` is already a Linux path: the folder is resolved once per
// generation, not once per chunk.
bool WriteScriptFile(const QString& nativePath, const std::string& bytes, const std::string& tail = {})
{
    QFile file(nativePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return false;
    const auto put = [&file](const std::string& b) {
        return b.empty() || file.write(b.data(), qint64(b.size())) == qint64(b.size());
    };
    return put(bytes) && put(tail);
}

// The games run on Windows too, and a separator would send the chunks into
// another folder than the chains name.
bool IsValidBasename(const QString& name)
{
    return RuvPlatform::PathHelper::IsValidWindowsName(name);
}

// Deletes the chunk files of an earlier generation that this one did not
// write again: the base name followed by digits only, so that the user's own
// "camera.cfg" beside a script named "cam" stays.
void DeleteStaleChunks(const QString& nativeDir, const QString& basename, const QString& extension,
                       const QSet<QString>& written)
{
    QDir dir(nativeDir);
    const QRegularExpression pattern(
        QStringLiteral("^") + QRegularExpression::escape(basename) + QStringLiteral("[0-9]{3,}")
            + QRegularExpression::escape(extension) + QStringLiteral("$"),
        QRegularExpression::CaseInsensitiveOption);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        if (!pattern.match(name).hasMatch())
            continue;
        if (!written.contains(name.toLower()))
            dir.remove(name);
    }
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

// Refuses what cannot give a script before anything is touched.
bool CheckInputs(IScriptGeneratorUi& ui, const QString& title, const C3DCameraScriptOption& options)
{
    const C3DCurve* curve = options.CamCurve();
    if (!curve || !options.Game() || curve->ControlsCount() < 2) {
        ui.ShowInputError(title, MRuvResource::GetResString(ui.LanguageOffset(), kTooFewPointsText));
        return false;
    }
    if (options.ScriptStopEnabled() && options.ScriptStopIncrement() < 1) {
        ui.ShowInputError(title, MRuvResource::GetResString(ui.LanguageOffset(), kPauseIntervalText));
        return false;
    }
    if (!IsValidBasename(options.ScriptBasename())) {
        ui.ShowInputError(title, MRuvResource::GetResString(ui.LanguageOffset(), kBadBasenameText,
                                                            TaggedValue(options.ScriptBasename())));
        return false;
    }
    return true;
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
    const auto nativeFile = [&nativeDir](const QString& name) { return nativeDir + QLatin1Char('/') + name; };
    const QString& basename = options.ScriptBasename();
    const QString& extension = options.ScriptFileExtension();

    const uint32_t start = MCommon::GetTickMs();
    CameraScriptText text(options);
    const int32_t gameType = text.GameType();
    const bool isEtPro = gameType == CameraScriptText::EtPro;
    const bool isWarsow = gameType == CameraScriptText::Warsow;

    int32_t transitionLength = 0;
    if (isWarsow) {
        transitionLength = options.WarsowCameraLimitationEnabled()
                               ? int32_t(MCommon::RoundHalfEven(double(curve->StepCount()) / 128.0))
                               : 9;
    }

    if (points < 1 || samples.empty() || size_t(points) > samples.size()) {
        ui.ShowInputError(title, MRuvResource::GetResString(ui.LanguageOffset(), kTooFewPointsText));
        return false;
    }

    const std::string preamble = text.Preamble(appTitle, samples.front());
    std::vector<std::string> chunks(1);
    if (!options.AutostartEnabled())
        chunks[0] = preamble;
    if (!options.CommandBefore().isEmpty())
        chunks[0] += "exec " + CameraScriptText::ToLatin1(options.CommandBefore()) + "\r\n";

    size_t current = 0;
    size_t currentLen = chunks[0].size();
    int32_t previousSegment = -1;
    float smallestFov = 90.0f;
    const int32_t maxLen = game->MaxScriptLen();
    std::string piece;
    for (size_t i = 0; i < size_t(points); ++i) {
        const ControlRecord& s = samples[i];
        const bool opens = s.SegmentNumber != previousSegment;
        if (opens)
            previousSegment = s.SegmentNumber;
        if (s.Fov < smallestFov)
            smallestFov = s.Fov;
        piece.clear();
        text.AppendStepLine(piece, s, int32_t(i), opens,
                            opens ? curve->GetCommand(s.SegmentNumber) : QString());
        AppendToChunks(chunks, current, currentLen, piece, maxLen);
    }
    if (isWarsow)
        for (const std::string& line : text.WarsowTransitions(points, transitionLength))
            AppendToChunks(chunks, current, currentLen, line, maxLen);

    elapsedMs = int32_t(MCommon::GetTickMs() - start);
    AppendToChunks(chunks, current, currentLen, text.Tail(smallestFov), maxLen);

    if (!isWarsow)
        WriteScriptFile(nativeFile(QStringLiteral("1stPos") + extension), text.FirstPositionFile(samples.front()));

    const size_t count = chunks.size();
    const auto numbered = [&](size_t i) {
        return basename + QString::fromStdString(ChunkNumber(i, count)) + extension;
    };
    QSet<QString> written;  // lower case
    bool result = true;

    if (options.AutostartEnabled()) {
        std::string starter = preamble;
        if (isEtPro)
            CameraScriptText::ApplyEtDeveloperMode(starter, smallestFov);
        // The start time is written locale-free: the game reads "." only.
        starter += "exec_at_time " + MCommon::FormatDouble(curve->StartTime()).toStdString() + " "
                   + CameraScriptText::ToLatin1(relDir + numbered(0));
        for (;;) {
            result = WriteScriptFile(nativeFile(basename + extension), starter);
            if (result)
                break;
            if (ui.ShowScriptFileError(title, errorText, kRetryCancelInfo) != kRetry)
                break;
        }
    } else if (isEtPro) {
        CameraScriptText::ApplyEtDeveloperMode(chunks[0], smallestFov);
    }

    if (result) {
        int32_t lastAnswer = 1;
        do {
            result = true;
            lastAnswer = 1;
            written.clear();
            for (size_t i = 0; i < count; ++i) {
                const QString name = (i == 0 && !options.AutostartEnabled()) ? basename + extension : numbered(i);
                std::string chain;
                if (i + 1 < count) {
                    const std::string next = CameraScriptText::ToLatin1(relDir + numbered(i + 1));
                    if (options.ScriptStopEnabled() && (i + 1) % size_t(options.ScriptStopIncrement()) == 0)
                        chain = "wait;bind " + CameraScriptText::ToLatin1(options.ScriptStopKey()) + " \"Exec "
                                + next + "\"";
                    else
                        chain = "Exec \"" + next + "\"";
                }
                if (WriteScriptFile(nativeFile(name), chunks[i], chain)) {
                    written.insert(name.toLower());
                } else {
                    result = false;
                    lastAnswer = ui.ShowScriptFileError(title, errorText, kRetryCancelInfo);
                }
            }
        } while (lastAnswer == kRetry);
    }

    // Only once the new script stands are the chunks of an earlier, longer
    // script removed: a failed generation leaves the old one playable.
    if (result)
        DeleteStaleChunks(nativeDir, basename, extension, written);
    return result;
}

} // namespace MRuvScriptGenerator
