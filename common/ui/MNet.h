#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// HTTP GET of a text, synchronous for its caller: the call returns when the
// whole body has arrived, the server failed or the time-out ran out. While
// it waits, the program's windows are redrawn but take no input: keys,
// clicks and the window manager's close pressed meanwhile are dropped, never
// run after the call has returned.
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

// The handle pair of one fetch, for callers that read a body in pieces.
// NetOpenUrl performs the GET (with the limits above) and returns the
// internet handle, with the address handle in addressHandle; on any failure
// it returns 0, sets addressHandle to 0 and keeps nothing open. Cached data
// is never used unless allowCached. Handles are never 0 and never reused
// while open; the caller closes both with NetCloseHandles.
std::uint32_t NetOpenUrl(const QString& address, std::uint32_t& addressHandle, bool allowCached);

// Copies up to size bytes of the opened body, from where the last read
// stopped, into buffer. Returns the bytes delivered (0 at the end of the
// body), or -1 for a handle that is not an open address.
std::int64_t NetReadChunk(std::uint32_t addressHandle, char* buffer, std::int64_t size);

// Closes the address handle, then the internet handle, each when not 0, and
// sets both to 0. Closing an internet handle also closes its addresses.
void NetCloseHandles(std::uint32_t& internetHandle, std::uint32_t& addressHandle);

// How many handles are open (tests: nothing may be left behind).
std::size_t OpenHandleCount();
}
