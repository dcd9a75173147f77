#include "interchange/FileBytes.h"

#include "core/PathText.h"

#include <QFileInfo>

namespace {
const QString kNotRegular = QStringLiteral("Not a regular file.");
}

bool FileBytes::isRegularFile(const QString &path)
{
    return QFileInfo(toFileSystemPath(path)).isFile();
}

FileBytes::FileBytes(const QString &path)
    : m_file(toFileSystemPath(path))
{
    if (!isRegularFile(path)) {
        m_error = QFileInfo::exists(toFileSystemPath(path)) ? kNotRegular
                                                            : QStringLiteral("No such file.");
        return;
    }
    if (!m_file.open(QIODevice::ReadOnly)) {
        m_error = m_file.errorString();
        return;
    }
    const qint64 size = m_file.size();
    if (size > 0)
        m_mapped = m_file.map(0, size);
    if (m_mapped) {
        m_bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(m_mapped), size);
    } else {
        m_bytes = m_file.readAll();
        if (m_file.error() != QFileDevice::NoError) {
            m_error = m_file.errorString();
            m_bytes.clear();
            return;
        }
    }
    m_ok = true;
}

FileBytes::~FileBytes()
{
    m_bytes = QByteArray(); // the raw data must not outlive the mapping
    if (m_mapped)
        m_file.unmap(m_mapped);
}
