#include "interchange/SgdImport.h"

#include "core/Cp1252.h"
#include "core/FileLookup.h"
#include "core/FileRead.h"
#include "core/Numbers.h"
#include "core/PathText.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace {

// Field offsets and widths in a record; the other fourteen fields are not read.
struct Field
{
    qsizetype offset;
    qsizetype width;
};
constexpr Field kName{0, 37};
constexpr Field kYear{37, 5};
constexpr Field kPublisher{42, 37};
constexpr Field kFile{93, 13};
constexpr Field kGenre{106, 8};
constexpr Field kAuthors{150, 102};
constexpr qsizetype kWidestField = 102;

constexpr std::array<std::pair<std::string_view, qint32>, 10> kGenres = {{
    {"arc", 15},
    {"adv", 29},
    {"arc/adv", 16},
    {"sim", 36},
    {"str", 43},
    {"spo", 71},
    {"brd", 85},
    {"lrn", 93},
    {"dem", 94},
    {"bld", 101},
}};

const QString kGameDirKey = QStringLiteral("GameDir=");
const QString kIniName = QStringLiteral("sgd.ini");

// CleanField over the record's bytes (CR, LF and blanks are single bytes in Windows-1252):
// writes the cleaned field to `out` and returns its length.
qsizetype cleanBytes(const char *record, Field field, char *out)
{
    const char *in = record + field.offset;
    qsizetype n = 0;
    for (qsizetype i = 0; i < field.width; ++i) {
        if (in[i] == '\r' && i + 1 < field.width && in[i + 1] == '\n') {
            ++i;
            continue;
        }
        out[n++] = in[i];
    }
    qsizetype begin = 0;
    while (begin < n && out[begin] == ' ')
        ++begin;
    while (n > begin && out[n - 1] == ' ')
        --n;
    std::copy(out + begin, out + n, out);
    return n - begin;
}

QString cleanText(const char *record, Field field)
{
    char buffer[kWidestField];
    const qsizetype n = cleanBytes(record, field, buffer);
    return n == 0 ? QString() : fromCp1252(buffer, n);
}

qint32 yearOf(const char *record)
{
    // Digits and blanks only (every real year field): the digits are the number.
    const char *in = record + kYear.offset;
    qint32 value = 0;
    bool plain = true;
    for (qsizetype i = 0; i < kYear.width && plain; ++i) {
        if (in[i] >= '0' && in[i] <= '9')
            value = value * 10 + (in[i] - '0');
        else
            plain = in[i] == ' ';
    }
    if (plain)
        return value;
    return nearestInteger(leadingNumber(fromCp1252(in, kYear.width)));
}

qint32 genreOf(const char *record)
{
    char buffer[kWidestField];
    const qsizetype n = cleanBytes(record, kGenre, buffer);
    for (qsizetype i = 0; i < n; ++i) {
        if (buffer[i] >= 'A' && buffer[i] <= 'Z')
            buffer[i] = char(buffer[i] - 'A' + 'a');
    }
    const std::string_view code(buffer, std::size_t(n));
    for (const auto &[key, type] : kGenres) {
        if (code == key)
            return type;
    }
    return 0;
}

QString romFileOf(const char *record)
{
    char buffer[kWidestField];
    const qsizetype n = cleanBytes(record, kFile, buffer);
    const char *const end = std::remove(buffer, buffer + n, ' ');
    return end == buffer ? QString() : fromCp1252(buffer, end - buffer);
}

// sgd.ini comes from Windows in its code page; one edited here may be UTF-8.
QString decodeIni(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    return utf8.hasError() ? fromCp1252(bytes) : text;
}

// The items of one line as a comma-separated list reads them: leading blanks skipped, a quoted
// item taken without its quotes (commas inside it kept), anything after its closing quote up to
// the next comma ignored.
QStringList lineItems(QStringView line)
{
    QStringList items;
    qsizetype pos = 0;
    const qsizetype size = line.size();
    while (true) {
        while (pos < size && (line.at(pos) == u' ' || line.at(pos) == u'\t'))
            ++pos;
        qsizetype comma;
        if (pos < size && line.at(pos) == u'"') {
            const qsizetype close = line.indexOf(u'"', pos + 1);
            const qsizetype stop = close < 0 ? size : close;
            items.append(line.sliced(pos + 1, stop - pos - 1).toString());
            comma = close < 0 ? -1 : line.indexOf(u',', close + 1);
        } else {
            comma = line.indexOf(u',', pos);
            items.append(line.sliced(pos, (comma < 0 ? size : comma) - pos).toString());
        }
        if (comma < 0)
            break;
        pos = comma + 1;
    }
    return items;
}

QChar separatorFor(const QString &directory)
{
    const bool windows =
        directory.contains(u'\\') || (directory.size() >= 2 && directory.at(1) == u':');
    if (windows)
        return u'\\';
    if (directory.contains(u'/'))
        return u'/';
    return nativeSeparator();
}

} // namespace

SgdLoadResult LoadSgdDataFile(const QString &path)
{
    SgdLoadResult result;
    const auto unreadable = [&](const QString &reason) {
        const ImportResult failure = ImportResult::unreadable(path, reason);
        result.ok = false;
        result.messages = failure.messages;
        return result;
    };
    QFile file;
    if (const QString reason = openRegularFile(path, file); !reason.isEmpty())
        return unreadable(reason);
    const qint64 size = file.size();
    const qsizetype records = SgdDataFile::recordCountForLength(size);
    if (records == 0)
        return result;
    // One zero-filled buffer of whole records: a short last record keeps its zeros.
    QByteArray bytes(records * SgdDataFile::kRecordSize, '\0');
    const qint64 wanted = std::min<qint64>(size, bytes.size());
    qint64 done = 0;
    while (done < wanted) {
        const qint64 got = file.read(bytes.data() + done, wanted - done);
        if (got < 0)
            return unreadable(file.errorString());
        if (got == 0)
            break; // the file shrank meanwhile: the rest stays zero
        done += got;
    }
    result.data = SgdDataFile(std::move(bytes));
    return result;
}

QString CleanField(QStringView field)
{
    QString out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field.at(i) == u'\r' && i + 1 < field.size() && field.at(i + 1) == u'\n') {
            ++i;
            continue;
        }
        out.append(field.at(i));
    }
    qsizetype begin = 0;
    qsizetype end = out.size();
    while (begin < end && out.at(begin) == u' ')
        ++begin;
    while (end > begin && out.at(end - 1) == u' ')
        --end;
    return out.sliced(begin, end - begin);
}

RomRecord sgdRecordToEntry(const char *record)
{
    RomRecord entry;
    entry.RomName = cleanText(record, kName);
    entry.Year = yearOf(record);
    entry.Publisher = cleanText(record, kPublisher);
    entry.RomFile = romFileOf(record);
    entry.RomType = genreOf(record);
    entry.Authors = cleanText(record, kAuthors);
    return entry;
}

QStringList sgdGameDirectories(const QByteArray &iniBytes)
{
    QStringList directories;
    const QString text = decodeIni(iniBytes);
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        for (QString item : lineItems(line)) {
            item.remove(u' ');
            if (!item.contains(kGameDirKey))
                continue;
            item.remove(kGameDirKey);
            if (item.isEmpty())
                continue;
            if (!endsWithSeparator(item))
                item += separatorFor(item);
            directories.append(item);
        }
    }
    return directories;
}

ImportResult addSgdRecords(RomDatabase &database, const SgdDataFile &data, bool overwrite,
                           const RecordProgress &progress)
{
    ImportResult result;
    if (overwrite || !database.HasEntries())
        database.Reset();
    const qsizetype entries = std::max<qsizetype>(data.recordCount() - 1, 0);
    for (qsizetype i = 0; i < entries; ++i) {
        if (progress && i % kRecordProgressStride == 0)
            progress(i, entries);
        RomRecord entry = sgdRecordToEntry(data.record(i));
        if (!entry.isEntry()) {
            ++result.skipped;
            continue;
        }
        database.Add(std::move(entry));
        ++result.added;
    }
    if (progress)
        progress(entries, entries);
    return result;
}

ImportResult ImportSgdRecords(RomDatabase &database, SearchPaths &paths, const SgdDataFile &data,
                              const QString &sgdDirectory, bool overwrite,
                              const RecordProgress &progress)
{
    QString directory = sgdDirectory;
    if (!directory.isEmpty() && !endsWithSeparator(directory))
        directory += nativeSeparator();
    const QString ini = resolveExistingFile(directory + kIniName);
    if (!ini.isEmpty()) {
        const FileBytes file = readRegularFile(ini);
        if (file.ok) {
            for (QString gameDir : sgdGameDirectories(file.bytes)) {
                if (!paths.HasSearchPath(PathKind::Rom, gameDir))
                    paths.AddSearchPath(PathKind::Rom, gameDir);
            }
        }
    }
    return addSgdRecords(database, data, overwrite, progress);
}
