#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// A regular file's bytes in one piece: mapped when the system allows it (no copy of a large
// file), read otherwise. Anything but a regular file (a directory, a pipe, a device) is refused
// before it is opened, so a listing can never hang on a pipe named like a catalogue.
class FileBytes
{
public:
    explicit FileBytes(const QString &path);
    ~FileBytes();
    FileBytes(const FileBytes &) = delete;
    FileBytes &operator=(const FileBytes &) = delete;

    bool ok() const { return m_ok; }
    QString errorString() const { return m_error; }
    // Valid while this object lives.
    const QByteArray &bytes() const { return m_bytes; }

    // True when `path` names a regular file (links followed).
    static bool isRegularFile(const QString &path);

private:
    QFile m_file;
    uchar *m_mapped = nullptr;
    QByteArray m_bytes;
    QString m_error;
    bool m_ok = false;
};
