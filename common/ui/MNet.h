#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// HTTP GET of a text, synchronous for its caller: the call returns when the
// whole body has arrived, the server failed or the time-out ran out. While
// it waits, the program's windows are redrawn but take no input.
namespace MNet
{
constexpr int DefaultTimeoutMs = 15000;
// The update information the program reads is a few kilobytes; anything
// beyond this is not an answer it can use.
constexpr std::int64_t DefaultMaxBytes = 4 * 1024 * 1024;

// The whole body as text (one character per byte, as the ANSI code page
// reads it), or the empty text on any failure: no connection, a status
// outside 200..299, a body cut short, a body over the size limit or the
// time-out. Never raises; the failure's number is kept as the last API error
// (MError).
QString NetReadUrl(const QString& address);
QString NetReadUrl(const QString& address, int timeoutMs, std::int64_t maxBytes);

// The same with the body as bytes; true only when the whole body arrived.
bool NetReadUrlBytes(const QString& address, QByteArray& body, int timeoutMs, std::int64_t maxBytes);
}
