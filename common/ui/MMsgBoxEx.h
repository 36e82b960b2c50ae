#pragma once

#include <QString>

#include <cstdint>

class QWidget;

// Message boxes with the system's button sets and style bits, new texts on
// up to three buttons, a caption icon of the program's own and, for the sets
// that have a button a close request can press, a time-out after which the
// box closes itself. Each box keeps its own state, so a box opened while
// another one waits keeps its own time-out.
namespace MMsgBoxEx
{
// Button groups (style AND 15).
constexpr std::int32_t MbOk = 0;
constexpr std::int32_t MbOkCancel = 1;
constexpr std::int32_t MbAbortRetryIgnore = 2;
constexpr std::int32_t MbYesNoCancel = 3;
constexpr std::int32_t MbYesNo = 4;
constexpr std::int32_t MbRetryCancel = 5;
constexpr std::int32_t MbCancelTryContinue = 6;
// Icons (style AND 0xF0) and the default button (style AND 0xF00).
constexpr std::int32_t MbIconStop = 0x10;
constexpr std::int32_t MbIconQuestion = 0x20;
constexpr std::int32_t MbIconExclamation = 0x30;
constexpr std::int32_t MbIconInformation = 0x40;
constexpr std::int32_t MbDefButton2 = 0x100;
constexpr std::int32_t MbDefButton3 = 0x200;

// The answers, the system's button numbers.
constexpr std::int32_t IdOk = 1;
constexpr std::int32_t IdCancel = 2;
constexpr std::int32_t IdAbort = 3;
constexpr std::int32_t IdRetry = 4;
constexpr std::int32_t IdIgnore = 5;
constexpr std::int32_t IdYes = 6;
constexpr std::int32_t IdNo = 7;
constexpr std::int32_t IdTryAgain = 10;
constexpr std::int32_t IdContinue = 11;

// The object name of the box while it is open (for finding it).
inline constexpr const char* BoxObjectName = "MsgBoxEx";

// Shows the box modally and returns the number of the button that closed it.
// An owner of nullptr centres the box on the screen. A time-out of 1 ms or
// more closes the box as its close button would (Cancel, or OK when it has
// only OK); it is not started for the Abort-Retry-Ignore and Yes-No sets,
// which have no such button. Empty captions keep the standard texts.
std::int32_t MsgBoxEx(QWidget* owner, const QString& title, const QString& prompt,
                      std::int32_t style, const QString& iconName, std::int32_t timeoutMs,
                      const QString& caption1 = {}, const QString& caption2 = {},
                      const QString& caption3 = {});
}
