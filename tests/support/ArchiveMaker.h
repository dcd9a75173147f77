#pragma once

// Zips and gzip files made in the tests with libzip's writer and zlib, and the patches that make
// them lie. For tests whose layer links the archive layer, and the archive fuzz seeds.

#include <zip.h>
#include <zlib.h>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

namespace testsupport {

struct ZipEntry
{
    QString name;
    QByteArray bytes;
    bool stored = false; // no compression, so a test can patch the bytes themselves
    bool encrypted = false;
};

inline QByteArray makeZip(const QList<ZipEntry> &entries)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(buffer);
    zip_t *zip = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    if (!zip)
        qFatal("zip_open_from_source: %s", zip_error_strerror(&error));
    for (const ZipEntry &entry : entries) {
        zip_source_t *data =
            zip_source_buffer(zip, entry.bytes.constData(), zip_uint64_t(entry.bytes.size()), 0);
        const QByteArray name = entry.name.toUtf8();
        const zip_int64_t index = entry.name.endsWith(u'/')
                                      ? zip_dir_add(zip, name.constData(), ZIP_FL_ENC_UTF_8)
                                      : zip_file_add(zip, name.constData(), data, ZIP_FL_ENC_UTF_8);
        if (index < 0)
            qFatal("zip_file_add: %s", zip_strerror(zip));
        if (entry.name.endsWith(u'/'))
            zip_source_free(data);
        if (entry.stored)
            zip_set_file_compression(zip, zip_uint64_t(index), ZIP_CM_STORE, 0);
        if (entry.encrypted &&
            zip_file_set_encryption(zip, zip_uint64_t(index), ZIP_EM_AES_256, "secret") != 0)
            qFatal("zip_file_set_encryption: %s", zip_strerror(zip));
    }
    if (zip_close(zip) != 0)
        qFatal("zip_close: %s", zip_strerror(zip));
    QByteArray out;
    zip_source_open(buffer);
    zip_source_seek(buffer, 0, SEEK_END);
    out.resize(qsizetype(zip_source_tell(buffer)));
    zip_source_seek(buffer, 0, SEEK_SET);
    zip_source_read(buffer, out.data(), zip_uint64_t(out.size()));
    zip_source_close(buffer);
    zip_source_free(buffer);
    return out;
}

inline QByteArray makeZip(const QString &name, const QByteArray &bytes)
{
    return makeZip({{name, bytes}});
}

// `bytes` gzipped, with `storedName` in the header when not empty.
inline QByteArray makeGzip(const QByteArray &bytes, const QByteArray &storedName = {})
{
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    gz_header header{};
    QByteArray name = storedName;
    if (!storedName.isEmpty()) {
        header.name = reinterpret_cast<Bytef *>(name.data());
        deflateSetHeader(&stream, &header);
    }
    QByteArray out(qsizetype(deflateBound(&stream, uLong(bytes.size())) + 64 + name.size()),
                   Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.constData()));
    stream.avail_in = uInt(bytes.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.truncate(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return out;
}

// Where a zip's first local header and central directory entry keep the member's CRC, compressed
// size and size (little-endian, 4 bytes each, in that order).
inline qsizetype localSizes(const QByteArray &zip)
{
    return zip.indexOf(QByteArrayLiteral("PK\x03\x04")) + 14;
}
inline qsizetype centralSizes(const QByteArray &zip)
{
    return zip.indexOf(QByteArrayLiteral("PK\x01\x02")) + 16;
}

inline void putLittleEndian32(QByteArray &bytes, qsizetype at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char(value >> (8 * i));
}

// The first member now declares `size` bytes, in both headers.
inline QByteArray withDeclaredSize(QByteArray zip, quint32 size)
{
    putLittleEndian32(zip, localSizes(zip) + 8, size);
    putLittleEndian32(zip, centralSizes(zip) + 8, size);
    return zip;
}

} // namespace testsupport
