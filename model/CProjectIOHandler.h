#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>

class C3DProject;
class C3DCurveController;

namespace pugi {
class xml_document;
class xml_node;
}

// Stores a project - the record and all its curves - in a file and reads it
// back. Files are always written as XML (root "Project", "Setting", then
// "Curves"); reading also accepts the older line-based project text.
//
// A project file is what users keep for months, so reading never trusts
// the file: everything is read into objects of its own, and the caller's
// record and controller are replaced only when the whole file was good.
// A file that is refused leaves them, and invariantNumbers, exactly as they
// were; LastError() then tells why, in a sentence fit for a message box.
// The handler shows no message itself and ignores the file's extension.
class CProjectIOHandler
{
public:
    // Files larger than this are refused before they are read: a project of
    // 20 curves of 250 controls takes about a megabyte.
    static constexpr int64_t MaxFileSize = 16 * 1024 * 1024;

    void Initialize() {}

    // Writes the project to `path` through a temporary file renamed over the
    // old one: true when the file was written; on false the previous file is
    // left as it was. Errors raised while the document is built (by the
    // record or the curves) reach the caller, and then nothing is written.
    bool Save(const QString& path, const C3DProject& project,
              const C3DCurveController& controller);

    // Reads the project file at `path`. On success `project` and `controller`
    // hold what the file holds (the controller keeps its listeners and raises
    // at most one CurveCountChanged), and for an older text invariantNumbers
    // tells whether its numbers were written with "." decimals. On failure
    // nothing of the three changes and the result is false.
    bool Load(const QString& path, C3DProject& project, C3DCurveController& controller,
              bool& invariantNumbers);

    // Why the last Save or Load failed; empty after a success.
    const QString& LastError() const { return m_lastError; }

    // The time written into saved files as their last modification; an
    // invalid time (the default) stands for the clock at each save. Saving
    // the same project at the same time gives the same bytes.
    void SetModificationTime(const QDateTime& localTime) { m_modificationTime = localTime; }

    // ---- The older project text (read only) ---------------------------------
    // Fills the new record and controller from the lines of an older text.
    // False, with LastError() set, when the lines are not older project text
    // at all (no known key and no curve line) or a curve line is refused.
    bool LoadLegacyText(const QStringList& lines, C3DProject& project,
                        C3DCurveController& controller, bool& invariantNumbers);
    // A key line: the key before the first blank (tabs removed), the value
    // after it, both trimmed of blanks.
    static void SplitKeyValue(const QString& line, QString& key, QString& value);
    // The number readers of the older text: with the "version" line's
    // invariant numbers the leading number with "." decimals, else the
    // user's locale; 0 for what does not read or does not fit.
    int16_t ReadInt16(const QString& value) const;
    int32_t ReadInt32(const QString& value) const;
    double ReadFloat64(const QString& value) const;
    bool InvariantNumbers() const { return mInvariantNumbers; }

private:
    void NewXmlDocument(pugi::xml_document& document) const;
    bool SaveXml(const QString& path, const C3DProject& project,
                 const C3DCurveController& controller);
    // Parses inside `bytes`, which it changes.
    bool LoadXml(QByteArray& bytes, C3DProject& project, C3DCurveController& controller);
    bool ReadSetting(const pugi::xml_node& setting, C3DProject& project);
    bool Fail(const QString& message);

    bool mInvariantNumbers = false;
    QDateTime m_modificationTime;
    QString m_lastError;
};
