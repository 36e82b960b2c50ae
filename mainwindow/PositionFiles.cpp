#include "PositionFiles.h"

#include "MCommon.h"
#include "MFileOp.h"

#include <QFileInfo>

#include <cmath>

namespace PositionFiles {

namespace {

const QString Space = QStringLiteral(" ");
const QString Comma = QStringLiteral(",");
const QString Close = QStringLiteral(")");
const QString LineFeed = QStringLiteral("\n");
const QString Quote = QStringLiteral("\"");

// The 1-based place of `what` at or after `from`, 0 when it is not there.
int32_t Find(const QString& text, const QString& what, int32_t from)
{
    if (from < 1)
        return 0;
    const qsizetype at = text.indexOf(what, from - 1);
    return at < 0 ? 0 : static_cast<int32_t>(at + 1);
}

// The place behind the first `what` at or after `from`; 0 when none.
int32_t After(const QString& text, const QString& what, int32_t from)
{
    const int32_t at = Find(text, what, from);
    return at == 0 ? 0 : at + 1;
}

// A skip keeps a lost position lost, so that every field after a missing
// terminator reads 0.
void Skip(int32_t& position, int32_t n)
{
    if (position > 0)
        position += n;
}

// A value beyond the range of the control's fields reads as 0, as a field
// that does not read does.
float Field(double value)
{
    const float f = static_cast<float>(value);
    return std::isfinite(f) ? f : 0.0f;
}

struct Reader
{
    const QString& text;
    int32_t position;
    int32_t end = 0;

    float Next(const QString& terminator) { return Field(fReadPositionField(text, position, end, terminator, true)); }
    // The time in seconds: the field holds milliseconds, read unrounded.
    double Time()
    {
        const double ms = fReadPositionField(text, position, end, LineFeed, false);
        const double seconds = ms / 1000.0;
        return std::isfinite(seconds) ? seconds : 0.0;
    }
};

// The games write the pitch the other way round; a 0 stays a plain 0.
float Negated(float value)
{
    return 0.0f - value;
}

// "x y z)": the position as every bracketed form writes it.
void ReadPosition(Reader& f, ControlRecord& r)
{
    r.X = f.Next(Space);
    r.Y = f.Next(Space);
    r.Z = f.Next(Close);
}

// "pitch yaw roll ", the pitch the other way round.
void ReadAngles(Reader& f, ControlRecord& r)
{
    r.Pitch = Negated(f.Next(Space));
    r.Yaw = f.Next(Space);
    r.Roll = f.Next(Space);
}

ControlRecord Finished(ControlRecord r)
{
    r.Timescale = 1.0f;
    if (r.Fov == 0.0f)
        r.Fov = 90.0f;
    return r;
}

bool FitsSize(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && info.size() <= MaxFileBytes;
}

}  // namespace

double fReadPositionField(const QString& text, int32_t& position, int32_t& end, const QString& terminator,
                          bool rounding)
{
    if (position <= 0) {
        end = 0;
        return 0.0;
    }
    end = Find(text, terminator, position);
    if (end == 0) {
        position = 0;
        return 0.0;
    }
    double value = MCommon::ReadLeadingNumber(QStringView(text).mid(position - 1, end - position));
    if (rounding)
        value = MCommon::RoundToDecimals(value, 2);
    position = end + 1;
    return value;
}

int32_t fCountOccurrences(const QString& text, const QString& separator)
{
    if (separator.isEmpty())
        return 0;
    int32_t count = 0;
    for (qsizetype at = text.indexOf(separator); at >= 0; at = text.indexOf(separator, at + 1))
        ++count;
    return count;
}

ControlRecord fParsePositionEtPro(const QString& entry)
{
    ControlRecord r;
    Reader f{entry, After(entry, QStringLiteral("("), 1)};
    ReadPosition(f, r);
    Skip(f.position, 3);
    r.Yaw = f.Next(LineFeed);
    Skip(f.position, 13);
    r.Fov = f.Next(Quote);
    return Finished(r);
}

ControlRecord fParsePositionDefrag(const QString& entry)
{
    ControlRecord r;
    Reader f{entry, After(entry, QStringLiteral(":"), 1)};
    r.X = f.Next(Comma);
    r.Y = f.Next(Comma);
    r.Z = f.Next(Comma);
    r.Pitch = f.Next(Comma);
    r.Yaw = f.Next(Comma);
    f.Next(Comma);
    r.Roll = f.Next(Comma);
    r.Fov = f.Next(Quote);
    return Finished(r);
}

ControlRecord fParsePositionRtcw(const QString& entry)
{
    ControlRecord r;
    Reader f{entry, After(entry, QStringLiteral("("), 1)};
    ReadPosition(f, r);
    Skip(f.position, 3);
    ReadAngles(f, r);
    Skip(f.position, 2);
    r.Time = f.Time();
    Skip(f.position, 13);
    r.Fov = f.Next(Quote);
    return Finished(r);
}

ControlRecord fParsePositionEtqw(const QString& entry)
{
    ControlRecord r;
    const QString open = QStringLiteral("(");
    const int32_t first = Find(entry, open, 1);
    Reader f{entry, first == 0 ? 0 : After(entry, open, first + 1)};
    ReadPosition(f, r);
    Skip(f.position, 1);
    ReadAngles(f, r);
    r.Time = f.Time();
    const int32_t colon = Find(entry, QStringLiteral(":"), f.position);
    f.position = colon == 0 ? 0 : colon + 2;
    r.Fov = f.Next(Quote);
    return Finished(r);
}

std::vector<ControlRecord> ParseEntries(int32_t gameType, const QStringList& entries)
{
    ControlRecord (*parse)(const QString&) = nullptr;
    switch (gameType) {
    case 0:
        if (!entries.isEmpty())
            parse = fCountOccurrences(entries.first(), QStringLiteral(":")) < 4 ? fParsePositionEtPro
                                                                                 : fParsePositionRtcw;
        break;
    case 1: parse = fParsePositionDefrag; break;
    case 3: parse = fParsePositionRtcw; break;
    case 4: parse = fParsePositionEtqw; break;
    default: break;
    }
    std::vector<ControlRecord> records;
    if (parse == nullptr)
        return records;
    records.reserve(static_cast<size_t>(entries.size()));
    for (const QString& entry : entries)
        records.push_back(parse(entry));
    return records;
}

void ReadEntryFiles(const QStringList& files, QStringList& entries, QStringList& read)
{
    entries.clear();
    read.clear();
    for (const QString& file : files) {
        QString text;
        if (FitsSize(file) && MFileOp::ReadFileData(file, text)) {
            entries << text;
            read << file;
        }
    }
}

bool ReadLineFile(const QString& path, QStringList& lines)
{
    lines.clear();
    return FitsSize(path) && MFileOp::ReadFileData(path, lines);
}

QStringList DefragEntries(const QStringList& lines)
{
    return lines.size() >= 2 ? lines.mid(1) : QStringList();
}

QStringList WarsowEntries(const QStringList& lines)
{
    QStringList entries;
    if (lines.size() < 2)
        return entries;
    for (const QString& line : lines)
        if (!(line.size() >= 3 && line.startsWith(QLatin1String("//"))))
            entries << line;
    return entries;
}

}  // namespace PositionFiles
