#include "interchange/SgdDataFile.h"

#include <cstring>

qsizetype SgdDataFile::recordCountForLength(qint64 length)
{
    if (length <= 0)
        return 0;
    const qint64 whole = length / kRecordSize;
    const qint64 rest = length % kRecordSize;
    if (2 * rest > kRecordSize || (2 * rest == kRecordSize && whole % 2 == 1))
        return qsizetype(whole + 1);
    return qsizetype(whole);
}

SgdDataFile::SgdDataFile(QByteArray bytes)
    : m_bytes(std::move(bytes))
    , m_count(recordCountForLength(m_bytes.size()))
{
    const qsizetype size = m_bytes.size();
    const qsizetype wanted = m_count * kRecordSize;
    m_bytes.resize(wanted);
    if (wanted > size)
        std::memset(m_bytes.data() + size, 0, std::size_t(wanted - size));
}
