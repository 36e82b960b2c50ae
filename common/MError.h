#pragma once

#include <QString>

#include <cstdint>

// The texts of the system error numbers that the program shows (the
// Windows numbering, which the callers and the HTTP reader use), and the
// last such error of the base layer.
namespace MError
{
// Takes the message from the system's own table; without it there is no
// message source and the text is all NUL.
constexpr std::int32_t FormatMessageFromSystem = 0x1000;
constexpr int ErrorTextLength = 256;

// Numbers the base layer records.
constexpr std::int32_t ErrorSuccess = 0;
constexpr std::int32_t ErrorFileNotFound = 2;
constexpr std::int32_t ErrorAccessDenied = 5;
constexpr std::int32_t ErrorInvalidParameter = 87;
constexpr std::int32_t ErrorInternetTimeout = 12002;
constexpr std::int32_t ErrorInternetNameNotResolved = 12007;
constexpr std::int32_t ErrorInternetCannotConnect = 12029;
constexpr std::int32_t ErrorInternetConnectionAborted = 12030;
constexpr std::int32_t ErrorHttpInvalidServerResponse = 12152;
// Not a system number of its own: a status outside 200..299 or a body that
// breaks the size limit.
constexpr std::int32_t ErrorHttpStatus = 12151;

// The message of the code (negative: the last recorded error), as the system
// words it with its CR LF, padded with NUL to exactly 256 characters; 256
// NUL characters when there is no message for the code.
QString GetApiErrorText(std::int32_t code, std::int32_t flags);

// The last error the base layer recorded (0 at start).
std::int32_t LastApiError();
void SetLastApiError(std::int32_t code);
}
