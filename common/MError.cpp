#include "MError.h"

#include <array>

namespace MError
{
namespace
{
struct Message
{
    std::int32_t code;
    const char* text;
};

constexpr std::array kMessages{
    Message{0, "The operation completed successfully."},
    Message{1, "Incorrect function."},
    Message{2, "The system cannot find the file specified."},
    Message{3, "The system cannot find the path specified."},
    Message{4, "The system cannot open the file."},
    Message{5, "Access is denied."},
    Message{6, "The handle is invalid."},
    Message{8, "Not enough memory resources are available to process this command."},
    Message{14, "Not enough memory resources are available to complete this operation."},
    Message{32, "The process cannot access the file because it is being used by another process."},
    Message{80, "The file exists."},
    Message{87, "The parameter is incorrect."},
    Message{112, "There is not enough space on the disk."},
    Message{122, "The data area passed to a system call is too small."},
    Message{183, "Cannot create a file when that file already exists."},
    Message{1400, "Invalid window handle."},
    Message{1401, "Invalid menu handle."},
    Message{1460, "This operation returned because the timeout period expired."},
    Message{2000, "The pixel format is invalid."},
    Message{12002, "The operation timed out"},
    Message{12005, "The URL is invalid"},
    Message{12007, "The server name or address could not be resolved"},
    Message{12029, "A connection with the server could not be established"},
    Message{12030, "The connection with the server was terminated abnormally"},
    Message{12151, "The server returned an answer that cannot be used"},
    Message{12152, "The server returned an invalid or unrecognized response"},
};

std::int32_t g_lastError = 0;
}

QString GetApiErrorText(std::int32_t code, std::int32_t flags)
{
    if (code < 0)
        code = g_lastError;
    QString text;
    if ((flags & FormatMessageFromSystem) != 0) {
        for (const Message& m : kMessages) {
            if (m.code == code) {
                text = QString::fromLatin1(m.text) + QStringLiteral("\r\n");
                break;
            }
        }
    }
    // The last character stays NUL, as in a buffer of that size.
    text.truncate(ErrorTextLength - 1);
    text.append(QString(ErrorTextLength - text.size(), QChar(u'\0')));
    return text;
}

std::int32_t LastApiError()
{
    return g_lastError;
}

void SetLastApiError(std::int32_t code)
{
    g_lastError = code;
}
}
