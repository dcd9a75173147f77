#include "interchange/ImportFiles.h"

#include "core/FileLookup.h"
#include "core/FileRead.h"
#include "core/PathText.h"
#include "interchange/PocketDatabase.h"
#include "interchange/SgdDataFile.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>

namespace {

const QByteArray kOwnMagic = QByteArrayLiteral("kivo");
constexpr qsizetype kOwnHeaderSize = 12;
// The smallest record the .dat reader accepts (six strings and two integers, plus the audio
// file from version 2): a count is never believed beyond what the file could store.
constexpr qint64 kMinRecordSizeV1 = 32;
constexpr qint64 kMinRecordSizeV2 = 36;

bool startsWithOwnMagic(const QByteArray &head)
{
    return head.left(4).toLower() == kOwnMagic;
}

qint32 int32At(const QByteArray &head, qsizetype offset)
{
    return head.size() >= offset + 4 ? qFromLittleEndian<qint32>(head.constData() + offset) : 0;
}

// The count of one listed file, or -1 when the file cannot be read.
qint64 countOf(ImportKind kind, const QString &path, const QByteArray &head, qint64 length)
{
    switch (kind) {
    case ImportKind::Sgd:
        return sgdEntryCount(length);
    case ImportKind::Own:
        return ownDatabaseEntryCount(head, length);
    case ImportKind::Pocket: {
        const FileBytes file = readRegularFile(path);
        return file.ok ? pocketEntryCount(file.bytes) : -1;
    }
    }
    return 0;
}

} // namespace

QString importSourceDirectory(const QString &directory)
{
    if (directory.isEmpty() || endsWithSeparator(directory))
        return directory;
    return directory + nativeSeparator();
}

bool importDirectoryFits(ImportKind kind, const QString &directory)
{
    const QString dir = importSourceDirectory(directory);
    if (kind == ImportKind::Sgd && !FileExists(dir + QStringLiteral("sgd.ini")))
        return false;
    return FileExists(dir + importPattern(kind));
}

QList<ImportFileRow> listImportFiles(ImportKind kind, const QString &directory)
{
    const QString dir = importSourceDirectory(directory);
    QList<ImportFileRow> rows;
    for (const QString &name : listOrdinaryFiles(dir, importPattern(kind))) {
        const QString path = dir + name;
        QFile file;
        if (!openRegularFile(path, file).isEmpty())
            continue;
        const QByteArray head = file.read(kOwnHeaderSize);
        const qint64 length = file.size();
        file.close();
        if (startsWithOwnMagic(head) == (kind == ImportKind::Sgd))
            continue;
        const qint64 count = countOf(kind, path, head, length);
        if (count >= 0)
            rows.append({name, count});
    }
    return rows;
}

QString importFileNameOfRow(const QString &rowText)
{
    const qsizetype bracket = rowText.lastIndexOf(QStringLiteral(" ["));
    return bracket < 0 ? rowText : rowText.left(bracket);
}

qint64 sgdEntryCount(qint64 length)
{
    return std::max<qint64>(SgdDataFile::recordCountForLength(length) - 1, 0);
}

qint64 ownDatabaseEntryCount(const QByteArray &head, qint64 length)
{
    const qint32 version = int32At(head, 4);
    const qint32 slots = int32At(head, 8);
    const qint64 minRecord = version >= 2 ? kMinRecordSizeV2 : kMinRecordSizeV1;
    const qint64 stored = std::max<qint64>(length - kOwnHeaderSize, 0) / minRecord;
    return std::clamp<qint64>(slots, 1, stored + 1) - 1;
}
