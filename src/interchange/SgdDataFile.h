#pragma once

#include <QByteArray>

// The records of one SGD data file: fixed-width records of 252 bytes, no header. The record
// count is the length divided by 252 rounded to the nearest whole number, a half to the even
// one; a record cut short by the end of the file reads as zero bytes where data is missing.
class SgdDataFile
{
public:
    static constexpr qsizetype kRecordSize = 252;

    SgdDataFile() = default;
    explicit SgdDataFile(QByteArray bytes);

    static qsizetype recordCountForLength(qint64 length);

    qsizetype recordCount() const { return m_count; }
    // The record's kRecordSize bytes.
    const char *record(qsizetype index) const { return m_bytes.constData() + index * kRecordSize; }

private:
    QByteArray m_bytes;
    qsizetype m_count = 0;
};
