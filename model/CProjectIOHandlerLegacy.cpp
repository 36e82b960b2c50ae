// The older, line-based project text: read only. Key lines ("key value")
// first, then the control lines of the camera path ("ctl:") and of the
// reference path ("ref:"), then the comment lines.

#include "CProjectIOHandler.h"

#include "C3DCurveController.h"
#include "C3DProject.h"
#include "MCommon.h"
#include "RuvError.h"
#include "TaggedValue.h"

#include <limits>

namespace {

const QString CtlPrefix = QStringLiteral("ctl:");
const QString RefPrefix = QStringLiteral("ref:");

bool IsCurveLine(const QString& line)
{
    const QString head = line.left(4).toLower();
    return head == CtlPrefix || head == RefPrefix;
}

QString TrimBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == QLatin1Char(' '))
        ++first;
    while (last > first && text[last - 1] == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

int16_t CheckedSum16(int16_t a, int16_t b)
{
    const int32_t sum = int32_t(a) + int32_t(b);
    if (sum < std::numeric_limits<int16_t>::min() || sum > std::numeric_limits<int16_t>::max())
        throw RuvError::Platform(RuvError::Overflow, QStringLiteral("CProjectIOHandler.LoadLegacyText"));
    return static_cast<int16_t>(sum);
}

int32_t CheckedAbs32(int32_t v)
{
    if (v == std::numeric_limits<int32_t>::min())
        throw RuvError::Platform(RuvError::Overflow, QStringLiteral("CProjectIOHandler.LoadLegacyText"));
    return v < 0 ? -v : v;
}

} // namespace

void CProjectIOHandler::SplitKeyValue(const QString& line, QString& key, QString& value)
{
    const QString trimmed = TrimBlanks(line);
    const qsizetype blank = trimmed.indexOf(QLatin1Char(' '));
    if (blank < 0) {
        key = trimmed;
        value.clear();
    } else {
        key = trimmed.left(blank);
        value = TrimBlanks(trimmed.mid(blank + 1));
    }
    // A tab never separates key and value: it is dropped from the key.
    key.remove(QLatin1Char('\t'));
    key = TrimBlanks(key);
}

int16_t CProjectIOHandler::ReadInt16(const QString& value) const
{
    if (mInvariantNumbers)
        return MCommon::SafeCInt(TaggedValue(MCommon::ReadLeadingNumber(value)));
    return MCommon::SafeCInt(TaggedValue(value));
}

int32_t CProjectIOHandler::ReadInt32(const QString& value) const
{
    if (mInvariantNumbers)
        return MCommon::SafeCLng(TaggedValue(MCommon::ReadLeadingNumber(value)), 0);
    return MCommon::SafeCLng(TaggedValue(value), 0);
}

double CProjectIOHandler::ReadFloat64(const QString& value) const
{
    if (mInvariantNumbers)
        return MCommon::ReadLeadingNumber(value);
    return MCommon::SafeCDbl(TaggedValue(value));
}

bool CProjectIOHandler::LoadLegacyText(const QStringList& lines, C3DProject& project,
                                       C3DCurveController& controller, bool& invariantNumbers)
{
    m_lastError.clear();
    mInvariantNumbers = false;
    // Everything goes into objects of our own: the caller's project is
    // replaced only once the whole text has been read.
    C3DProject p;
    C3DCurveController curves;

    // ---- Key section -----------------------------------------------------
    qsizetype i = 0;
    int32_t knownKeys = 0;
    for (; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (IsCurveLine(line))
            break;
        QString key;
        QString v;
        SplitKeyValue(line, key, v);
        key = key.toLower();
        bool known = true;
        // A line that cannot be applied leaves its field as it was.
        try {
            if (key == QLatin1String("version"))
                mInvariantNumbers = MCommon::ReadLeadingNumber(v) >= 1.0;
            else if (key == QLatin1String("game_mod"))
                p.SetGameType(ReadInt16(v));
            else if (key == QLatin1String("active_plan"))
                p.SetActiveView(ReadInt16(v));
            else if (key == QLatin1String("view_data1"))
                p.SetViewData1(v);
            else if (key == QLatin1String("view_data2"))
                p.SetViewData2(v);
            else if (key == QLatin1String("view_data3"))
                p.SetViewData3(v);
            else if (key == QLatin1String("curve_duration"))
                p.SetCurveDuration(ReadFloat64(v));
            else if (key == QLatin1String("step_idx"))
                p.SetSelectedStepValue(ReadInt16(v));
            else if (key == QLatin1String("step1"))
                p.SetStepCount1(ReadInt16(v));
            else if (key == QLatin1String("step2"))
                p.SetStepCount2(ReadInt16(v));
            else if (key == QLatin1String("demo_name"))
                p.SetSelectedDemoPath(v);
            else if (key == QLatin1String("game_config"))
                p.SetSelectedConfigName(v);
            else if (key == QLatin1String("scmd_before"))
                p.SetSelectedBeforeCommand(v);
            else if (key == QLatin1String("scmd_after"))
                p.SetSelectedAfterCommand(v);
            else if (key == QLatin1String("bsp_filename"))
                p.SetMapFileName(v);
            else if (key == QLatin1String("autostart"))
                p.SetAutostartEnabled(ReadInt16(v) >= 1);
            else if (key == QLatin1String("autostart_time"))
                p.SetAutoStartTime(ReadInt32(v));
            else if (key == QLatin1String("script_pause"))
                p.SetScriptPauseEnabled(ReadInt16(v) >= 1);
            else if (key == QLatin1String("sp_nb"))
                p.SetScriptPauseInterval(ReadInt16(v));
            else if (key == QLatin1String("sp_bind_key"))
                p.SetScriptPauseResumeKeyIndex(ReadInt16(v));
            else if (key == QLatin1String("include_fov"))
                p.SetIncludeFovChecked(ReadInt16(v) >= 1);
            else if (key == QLatin1String("include_ts"))
                p.SetIncludeTimescaleChecked(ReadInt16(v) >= 1);
            else if (key == QLatin1String("include_msg"))
                p.SetIncludeMessageChecked(ReadInt16(v) >= 1);
            else if (key == QLatin1String("camera_mode") || key == QLatin1String("df_cam_mode"))
                p.SetCameraMode(CheckedAbs32(ReadInt32(v)));
            else if (key == QLatin1String("cm_player_num") || key == QLatin1String("df_player_num"))
                p.SetPlayerNumber(ReadInt32(v));
            else if (key == QLatin1String("demo_goto_min"))
                p.SetDemoGoToMinute(CheckedSum16(p.DemoGoToMinute(), ReadInt16(v)));
            else if (key == QLatin1String("demo_goto_sec"))
                p.SetDemoGoToSecond(ReadInt16(v));
            else if (key == QLatin1String("demo_forward"))
                p.SetDemoForwardSecond(ReadInt16(v));
            else if (key == QLatin1String("trans_speed"))
                p.SetTransitionSpeed(CheckedAbs32(ReadInt32(v)));
            else if (key == QLatin1String("vpreset"))
                p.ViewPresetStrings().append(v);
            else if (key == QLatin1String("avi_demo"))
                p.SetSelectedFramerate(ReadInt32(v));
            else if (key == QLatin1String("avi_demos"))
                p.SetFramerateValuesString(v);
            else
                known = false;
        } catch (const RuvError&) {
        }
        if (known)
            ++knownKeys;
    }
    const bool readInvariant = mInvariantNumbers;

    // Any file that is not XML comes here. Unless it holds at least one key
    // of the format or a control line, it is some other file, and reading it
    // as an empty project would throw the user's work away on the next save.
    if (knownKeys == 0 && i == lines.size())
        return Fail(QStringLiteral("it is neither a project file nor an older project text"));

    // ---- Curve section ---------------------------------------------------
    if (i < lines.size()) {
        // The curves take the project's game type before their controls are
        // read, or the timescale rule of game 0 would snap the others'.
        curves.SetGameType(p.GameType());
        try {
            C3DCurve* camera = &curves.Add(QStringLiteral("Camera path"));
            camera->SetStepRate(p.SelectedFramerate());
            C3DCurve* reference = nullptr;
            for (; i < lines.size(); ++i) {
                QString line = lines[i];
                const QString head = line.left(4).toLower();
                C3DCurve* target = nullptr;
                QString prefix;
                if (head == CtlPrefix) {
                    target = camera;
                    prefix = CtlPrefix;
                } else if (head == RefPrefix) {
                    if (!reference) {
                        reference = &curves.Add(QStringLiteral("Reference path"));
                        reference->SetStepRate(p.SelectedFramerate());
                    }
                    target = reference;
                    prefix = RefPrefix;
                } else {
                    break;
                }
                int32_t index = 0;
                QString error;
                if (!target->AddControlFromRawData(line, prefix, readInvariant, index, &error))
                    return Fail(QStringLiteral("line %1 holds a damaged control point (%2)")
                                    .arg(i + 1)
                                    .arg(error));
            }
        } catch (const RuvError& e) {
            return Fail(QStringLiteral("line %1: %2").arg(i + 1).arg(e.description()));
        }
    }

    // ---- Comment section -------------------------------------------------
    // Appending line by line through the trimming setter only ever drops the
    // blank-only lines before the first line with content and the blanks
    // that begin it; building the text first gives the same comment without
    // trimming it anew for every line.
    QString comment;
    for (; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (comment.isEmpty()) {
            qsizetype first = 0;
            while (first < line.size() && line[first] == QLatin1Char(' '))
                ++first;
            if (first == line.size())
                continue;
            comment = line.mid(first);
        } else {
            comment += line;
        }
        comment += QLatin1String("\r\n");
    }
    p.SetComment(comment);

    controller.Load(std::move(curves));
    project = std::move(p);
    invariantNumbers = readInvariant;
    return true;
}
