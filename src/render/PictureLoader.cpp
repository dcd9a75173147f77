#include "render/PictureLoader.h"

#include "core/FileRead.h"
#include "core/PathText.h"
#include "render/DisplayZX.h"
#include "render/ScreenFile.h"
#include "tape/LoadingScreen.h"

#include <QBuffer>
#include <QDateTime>
#include <QFileInfo>
#include <QImageReader>

namespace {

// What a kept entry costs besides its pixels and bytes, so failures count too.
constexpr qint64 kEntryOverhead = 256;

// Far above any screenshot; what Qt itself would allocate for one decoded picture.
constexpr qint64 kMaxPictureFileBytes = 128 * 1024 * 1024;

LoadedPicture failed(const QString &error, bool isScr)
{
    LoadedPicture picture;
    picture.error = error;
    picture.isScr = isScr;
    return picture;
}

LoadedPicture drawnScreen(const QByteArray &screen)
{
    LoadedPicture picture;
    picture.isScr = true;
    picture.screen = screen;
    picture.image = DisplayZX(screen, 0);
    picture.ok = !picture.image.isNull();
    if (!picture.ok)
        picture.error = QStringLiteral("There is not enough memory to show the picture.");
    return picture;
}

LoadedPicture decodeScreen(const QString &path)
{
    const ScreenFile file = readScreenFile(path);
    if (!file.ok)
        return failed(file.error, true);
    return drawnScreen(file.screen);
}

LoadedPicture decodeLoadingScreen(const QString &romPath)
{
    const LoadingScreenFile file = readLoadingScreen(romPath);
    if (!file.ok)
        return failed(file.reason, true);
    if (!file.screen)
        return failed(QString(), true);
    return drawnScreen(file.screen->screen);
}

// A JPEG cut short in its image data still decodes, the missing part grey; it has no end-of-image
// marker after its last start-of-scan. Neither marker can occur inside entropy-coded data.
bool jpegIsComplete(const QByteArray &bytes)
{
    const qsizetype lastScan = bytes.lastIndexOf("\xFF\xDA");
    return lastScan >= 0 && bytes.indexOf("\xFF\xD9", lastScan + 2) >= 0;
}

LoadedPicture decodeImage(const QString &path)
{
    QFile file;
    const QString error = openRegularFile(path, file);
    if (!error.isEmpty())
        return failed(error, false);
    const qint64 size = file.size();
    if (size > kMaxPictureFileBytes)
        return failed(QStringLiteral("The file is too large for a picture."), false);
    QByteArray bytes = file.read(size);
    if (file.error() != QFileDevice::NoError)
        return failed(file.errorString(), false);

    // By content alone: a GIF named .jpg still shows, a text file named .gif does not.
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QByteArray format = reader.format();
    LoadedPicture picture;
    picture.image = reader.read();
    if (picture.image.isNull()) {
        picture.error =
            QStringLiteral("The picture cannot be decoded: %1").arg(reader.errorString());
    } else if (format == "jpeg" && !jpegIsComplete(bytes)) {
        picture.image = QImage();
        picture.error = QStringLiteral("The picture is incomplete: the file ends inside it.");
    } else {
        picture.ok = true;
    }
    return picture;
}

} // namespace

PictureLoader::PictureLoader(qint64 budgetBytes)
    : m_budget(budgetBytes)
{
}

LoadedPicture PictureLoader::load(const QString &path)
{
    const bool isScr = lowerExtension(path) == u"scr";
    return loadKept(path, path, isScr, [isScr](const QString &file) {
        return isScr ? decodeScreen(file) : decodeImage(file);
    });
}

LoadedPicture PictureLoader::loadLoadingScreen(const QString &romPath)
{
    // Kept apart from the file's own entry: a .scr named as a rom file is no tape.
    return loadKept(romPath, u'\x01' + romPath, true, decodeLoadingScreen);
}

template <typename Decode>
LoadedPicture PictureLoader::loadKept(const QString &path, const QString &key, bool isScr,
                                      Decode decode)
{
    const QFileInfo info(toFileSystemPath(path));
    const auto kept = m_index.constFind(key);
    if (!info.isFile()) {
        if (kept != m_index.cend())
            remove(*kept);
        return failed(info.exists() ? kNotARegularFile : QStringLiteral("The file does not exist."),
                      isScr);
    }
    const qint64 size = info.size();
    const qint64 modified = info.lastModified().toMSecsSinceEpoch();
    if (kept != m_index.cend()) {
        const Entries::iterator entry = *kept;
        if (entry->size == size && entry->modified == modified) {
            ++m_hits;
            m_entries.splice(m_entries.begin(), m_entries, entry);
            return entry->picture;
        }
        remove(entry);
    }

    ++m_decodes;
    LoadedPicture picture = decode(path);
    const qint64 cost = picture.image.sizeInBytes() + picture.screen.size() + kEntryOverhead;
    if (cost > m_budget)
        return picture;
    while (m_bytes + cost > m_budget)
        remove(std::prev(m_entries.end()));
    m_entries.push_front(Entry{key, size, modified, cost, picture});
    m_index.insert(key, m_entries.begin());
    m_bytes += cost;
    return picture;
}

void PictureLoader::clear()
{
    m_entries.clear();
    m_index.clear();
    m_bytes = 0;
}

void PictureLoader::remove(Entries::iterator entry)
{
    m_bytes -= entry->cost;
    m_index.remove(entry->key);
    m_entries.erase(entry);
}
