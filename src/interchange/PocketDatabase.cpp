#include "interchange/PocketDatabase.h"

#include "core/Cp1252.h"
#include "core/FileRead.h"
#include "core/SafeFile.h"
#include "core/SharedText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <string_view>

namespace {

const QString kNoDataText = QStringLiteral("No data to save");
const QString kCantWriteText = QStringLiteral("Unable to write the file.");
const QString kCantExportTitle = QStringLiteral("Can't Export");

constexpr std::string_view kNewLineMark = "%%NL%%";
constexpr int kFields = 9;
constexpr qsizetype kIntegerWidth = 11; // "-2147483648"

// ---- writing

enum class LineBreaks { Blank, Mark };

// Encodes one field in a single pass. A separator byte becomes a blank; so does a CR or LF in
// a field that may not hold line breaks. In Notes and Authors a CR LF pair becomes "%%NL%%" and
// a lone CR or LF stays. Only U+00DE encodes to the separator byte.
char *writeField(char *out, QStringView text, LineBreaks lineBreaks)
{
    const char16_t *chars = text.utf16();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = chars[i];
        if (c >= 0x80) {
            if (c == 0xDE) {
                *out++ = ' ';
                continue;
            }
            // Through the code page; a surrogate pair is one character, one "?".
            const qsizetype units =
                QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(chars[i + 1]) ? 2
                                                                                              : 1;
            out = encodeCp1252Into(out, text.sliced(i, units));
            i += units - 1;
        } else if (c != u'\r' && c != u'\n') {
            *out++ = char(c);
        } else if (lineBreaks == LineBreaks::Blank) {
            *out++ = ' ';
        } else if (c == u'\r' && i + 1 < n && chars[i + 1] == u'\n') {
            out = std::copy(kNewLineMark.begin(), kNewLineMark.end(), out);
            ++i;
        } else {
            *out++ = char(c);
        }
    }
    return out;
}

char *writeInteger(char *out, qint32 value)
{
    return std::to_chars(out, out + kIntegerWidth, value).ptr;
}

qsizetype lineSizeBound(const RomRecord &record)
{
    // A CR LF pair (two characters) grows to six bytes; every other character takes one.
    return record.RomName.size() + record.Screenshots.size() + 3 * record.Notes.size() +
           record.RomFile.size() + record.Publisher.size() + 3 * record.Authors.size() +
           record.AudioFile.size() + 2 * kIntegerWidth + (kFields - 1) + 2;
}

// ---- reading

bool isBlankByte(char c)
{
    return c == ' ' || c == '\t';
}

// A decimal integer within 32 bits, blanks around it allowed; nothing else.
bool parseInteger(const char *begin, const char *end, qint32 &value)
{
    while (begin < end && isBlankByte(*begin))
        ++begin;
    while (end > begin && isBlankByte(end[-1]))
        --end;
    if (begin < end && *begin == '+') {
        ++begin;
        if (begin < end && *begin == '-')
            return false;
    }
    if (begin == end)
        return false;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    return ec == std::errc() && ptr == end;
}

struct Part
{
    const char *data = nullptr;
    qsizetype size = 0;
};

// Splits [begin, end) at the separator into at most `parts.size()` parts; returns how many parts
// the line has, counting only up to the array's size.
int splitLine(const char *begin, const char *end, std::array<Part, kFields> &parts)
{
    int count = 0;
    const char *start = begin;
    while (count < kFields) {
        const auto *sep = static_cast<const char *>(
            std::memchr(start, kPocketSeparator, std::size_t(end - start)));
        const char *stop = sep ? sep : end;
        parts[count++] = {start, stop - start};
        if (!sep)
            break;
        start = sep + 1;
    }
    return count;
}

// Notes and Authors: "%%NL%%" back to CR LF.
QString readMultiLine(const Part &part, SharedTextBuilder &text, QByteArray &scratch)
{
    const QByteArrayView field(part.data, part.size);
    if (!field.contains(QByteArrayView(kNewLineMark.data(), qsizetype(kNewLineMark.size()))))
        return text.add(part.data, part.size);
    scratch = field.toByteArray().replace(kNewLineMark.data(), "\r\n");
    return text.add(scratch.constData(), scratch.size());
}

// One line of the file: where it ends (before its line end) and where the next one starts.
struct Line
{
    const char *stop;
    const char *next;
};

// Lines end CR LF, as the program writes them. A file without a single CR LF was written on
// Linux or by a script: its lines end LF alone.
bool endsLinesWithLf(const QByteArray &bytes)
{
    return !bytes.contains("\r\n");
}

Line nextLine(const char *begin, const char *end, bool lfOnly)
{
    const char *p = begin;
    while (p < end) {
        const auto *lf = static_cast<const char *>(std::memchr(p, '\n', std::size_t(end - p)));
        if (!lf)
            break;
        if (lfOnly)
            return {lf, lf + 1};
        if (lf > begin && lf[-1] == '\r')
            return {lf - 1, lf + 1};
        p = lf + 1;
    }
    return {end, end};
}

bool isBlankLine(const char *begin, const char *end)
{
    return std::all_of(begin, end, [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
    });
}

qsizetype countByte(const QByteArray &bytes, char c)
{
    qsizetype n = 0;
    const char *p = bytes.constData();
    const char *const end = p + bytes.size();
    while ((p = static_cast<const char *>(std::memchr(p, c, std::size_t(end - p))))) {
        ++n;
        ++p;
    }
    return n;
}

} // namespace

QByteArray pocketExportBytes(const RomDatabase &database)
{
    qsizetype bound = kPocketHeader.size() + 2;
    for (const RomRecord &record : database.slots())
        bound += record.isEntry() ? lineSizeBound(record) : 0;
    QByteArray bytes(bound, Qt::Uninitialized);
    char *out = std::copy(kPocketHeader.begin(), kPocketHeader.end(), bytes.data());
    *out++ = '\r';
    *out++ = '\n';
    for (const RomRecord &record : database.slots()) {
        if (!record.isEntry())
            continue;
        out = writeField(out, record.RomName, LineBreaks::Blank);
        *out++ = kPocketSeparator;
        out = writeInteger(out, record.RomType);
        *out++ = kPocketSeparator;
        out = writeField(out, record.Screenshots, LineBreaks::Blank);
        *out++ = kPocketSeparator;
        out = writeInteger(out, record.Year);
        *out++ = kPocketSeparator;
        out = writeField(out, record.Notes, LineBreaks::Mark);
        *out++ = kPocketSeparator;
        out = writeField(out, record.RomFile, LineBreaks::Blank);
        *out++ = kPocketSeparator;
        out = writeField(out, record.Publisher, LineBreaks::Blank);
        *out++ = kPocketSeparator;
        out = writeField(out, record.Authors, LineBreaks::Mark);
        *out++ = kPocketSeparator;
        out = writeField(out, record.AudioFile, LineBreaks::Blank);
        *out++ = '\r';
        *out++ = '\n';
    }
    bytes.truncate(out - bytes.constData());
    return bytes;
}

ExportResult ExportPocketDatabase(const RomDatabase &database, const QString &path)
{
    ExportResult result;
    if (!database.HasEntries()) {
        result.ok = false;
        result.messages.append(Message{kNoDataText});
        return result;
    }
    const WriteResult written = writeFileSafely(path, pocketExportBytes(database));
    if (!written.ok) {
        result.ok = false;
        result.messages.append(Message::critical(
            kCantWriteText + kCrLf + path + kCrLf + written.reason, kCantExportTitle));
    }
    return result;
}

ImportResult importPocketBytes(RomDatabase &database, const QByteArray &bytes,
                               const RecordProgress &progress)
{
    ImportResult result;
    // Every field is a slice of one decoded text: its bytes plus a terminator, and never more
    // than twice its bytes, so a file of nothing but line ends cannot inflate the allocation.
    const qsizetype lines = countByte(bytes, '\n') + 1;
    SharedTextBuilder text(bytes.size() + std::min(kFields * lines, bytes.size()));
    QByteArray scratch;
    std::array<Part, kFields> parts;

    const char *const end = bytes.constData() + bytes.size();
    const bool lfOnly = endsLinesWithLf(bytes);
    qint64 line = 0;
    for (const char *begin = bytes.constData(); begin < end; ++line) {
        const auto [stop, next] = nextLine(begin, end, lfOnly);
        if (progress && line % kRecordProgressStride == 0)
            progress(line, lines);
        const bool data = std::memchr(begin, kPocketSeparator, std::size_t(stop - begin));
        if (!data) {
            begin = next;
            continue;
        }
        RomRecord record;
        if (splitLine(begin, stop, parts) < kFields || parts[0].size == 0 ||
            !parseInteger(parts[1].data, parts[1].data + parts[1].size, record.RomType) ||
            !parseInteger(parts[3].data, parts[3].data + parts[3].size, record.Year)) {
            ++result.skipped;
            begin = next;
            continue;
        }
        record.RomName = text.add(parts[0].data, parts[0].size);
        record.Screenshots = text.add(parts[2].data, parts[2].size);
        record.Notes = readMultiLine(parts[4], text, scratch);
        record.RomFile = text.add(parts[5].data, parts[5].size);
        record.Publisher = text.add(parts[6].data, parts[6].size);
        record.Authors = readMultiLine(parts[7], text, scratch);
        record.AudioFile = text.add(parts[8].data, parts[8].size);
        database.Add(std::move(record));
        ++result.added;
        begin = next;
    }
    if (progress)
        progress(lines, lines);
    return result;
}

qint64 pocketEntryCount(const QByteArray &bytes)
{
    qint64 lines = 0;
    const char *const end = bytes.constData() + bytes.size();
    const bool lfOnly = endsLinesWithLf(bytes);
    for (const char *begin = bytes.constData(); begin < end;) {
        const Line line = nextLine(begin, end, lfOnly);
        if (!isBlankLine(begin, line.stop))
            ++lines;
        begin = line.next;
    }
    return std::max<qint64>(lines - 1, 0);
}

ImportResult ImportPocketDatabase(RomDatabase &database, const QString &path,
                                  const RecordProgress &progress)
{
    const FileBytes file = readRegularFile(path);
    if (!file.ok)
        return ImportResult::unreadable(path, file.reason);
    return importPocketBytes(database, file.bytes, progress);
}
