#pragma once

// How the X server repeats a held key for this program.

namespace PlatformX11 {

// Asks the server to repeat a held key to this program's own connection
// (Qt's) as presses alone, without the release X puts before each repeated
// press otherwise: a release then always means the key went up, however
// late the program reads it. True when the server does so; false without
// an X display or the keyboard extension, where releases stay as they were.
bool UseDetectableAutoRepeat();

}  // namespace PlatformX11
