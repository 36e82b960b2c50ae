#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

class C3DCameraScriptOption;
struct ControlRecord;

// What the generator asks of the window that called it: the window layer
// shows message boxes, tests answer them.
class IScriptGeneratorUi
{
public:
    virtual ~IScriptGeneratorUi() = default;
    // A file of the script could not be written; returns the button pressed
    // (4 Retry writes the whole set again, anything else gives up and
    // leaves the old script as it was). style is the message-box style.
    virtual int32_t ShowScriptFileError(const QString& title, const QString& prompt, int32_t style) = 0;
    // The inputs cannot give a script; nothing has been written.
    virtual void ShowInputError(const QString& title, const QString& message) = 0;
    // The language of those messages (an offset of MRuvResource).
    virtual int32_t LanguageOffset() const { return 0; }
    // Told before each file of a generation is written, with the path of
    // the temporary file that takes its bytes until the whole set is
    // renamed into place. A window has nothing to do here; tests make a
    // write fail part way through.
    virtual void WritingFile(const QString& /*temporaryPath*/) {}
};

namespace MRuvScriptGenerator {

// Samples the option's curve and writes the camera script of the option's
// game into numbered chunk files, chained so that each runs the next, with
// an optional starter script and the first-position file. The files are
// written whole or not at all: each goes to a temporary file beside its
// target, and all are renamed into place once every one is written. Names
// the game cannot read, and a control command that would make a line longer
// than the game reads, are refused before anything is written. elapsedMs
// covers sampling and text building; points is the number of samples (for
// Warsow too, which gets fewer cameras). True when every file was written.
bool GenerateCameraScripts(IScriptGeneratorUi& ui, const QString& appTitle, const QString& errorText,
                           const QString& errorCaption, const C3DCameraScriptOption& options,
                           int32_t& elapsedMs, int32_t& points);

// The part of GenerateCameraScripts after sampling: writes the script of
// samples already taken from the option's curve (points of them). elapsedMs
// covers the text building only.
bool WriteCameraScripts(IScriptGeneratorUi& ui, const QString& appTitle, const QString& errorText,
                        const QString& errorCaption, const C3DCameraScriptOption& options,
                        const std::vector<ControlRecord>& samples, int32_t points, int32_t& elapsedMs);

// Appends one piece to the chunk being filled, or starts a new chunk with it
// when it would make the chunk longer than maxLen characters. Pieces are
// never split.
void AppendToChunks(std::vector<std::string>& chunks, size_t& current, size_t& currentLen,
                    const std::string& piece, int32_t maxLen);

// The number of a chunk in its file name: three digits, more only when the
// script has more than a thousand chunks.
std::string ChunkNumber(size_t index, size_t chunkCount);

} // namespace MRuvScriptGenerator
