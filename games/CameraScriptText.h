#pragma once

#include "C3DCameraScriptOption.h"

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

struct ControlRecord;

// Every piece of text of a camera script, for each game: preamble, step
// lines, Warsow transitions, tail, first-position file and the ET Pro
// developer mark. Texts are built as Latin-1 bytes (what the games read), so
// that a path of many thousand frames costs one append per number.
class CameraScriptText
{
public:
    static constexpr int32_t EtPro = 0;
    static constexpr int32_t DeFrag = 1;
    static constexpr int32_t Warsow = 2;
    static constexpr int32_t Rtcw = 3;
    static constexpr int32_t EtQw = 4;

    static constexpr const char* kDeveloperMark = "{et_developer_mode}";

    explicit CameraScriptText(const C3DCameraScriptOption& options);

    int32_t GameType() const { return mGameType; }

    // The number with exactly `decimals` decimals and "." as separator,
    // whatever the locale; a value that rounds to zero has no sign.
    static void AppendNum(std::string& out, double value, int decimals);
    static std::string FormatNum(double value, int decimals);
    static std::string ToLatin1(const QString& text);

    std::string Preamble(const QString& appTitle, const ControlRecord& first) const;
    // One sample's piece: the segment comment when it opens a segment, then
    // its step line. `command` is the console command of the control that
    // opens the segment (only written when it does).
    void AppendStepLine(std::string& out, const ControlRecord& sample, int32_t index,
                        bool opensSegment, const QString& command);
    // Warsow's transition definitions, one piece per line.
    std::vector<std::string> WarsowTransitions(int32_t pointCount, int32_t transitionLength) const;
    std::string Tail(float smallestFov) const;
    std::string FirstPositionFile(const ControlRecord& first) const;
    // Resolves the ET Pro developer mark in the text that holds the preamble.
    static void ApplyEtDeveloperMode(std::string& text, float smallestFov);

private:
    void AppendQuotedEcho(std::string& out, const char* text) const;

    const C3DCameraScriptOption& m_options;
    int32_t mGameType = 0;
    std::string m_fcCmd;
    std::string m_fcCmdTrailer;
    std::string m_fovCvar;
    std::string m_tsCvar;
    std::string m_friendlyName;
    // Warsow keeps each sample's rounded fov and timescale for the transitions.
    std::vector<float> m_warsowFov;
    std::vector<float> m_warsowTs;
};
