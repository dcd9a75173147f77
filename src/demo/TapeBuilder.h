#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// Puts the demo's tapes together from zmakebas's TAP files and our screens: TAP or TZX, with
// an archive-info block on the TZX where asked.
class TapeBuilder
{
public:
    // The texts of a TZX archive-info block (ID 0x32), by the format's text IDs.
    enum class InfoKind : quint8 {
        Title = 0x00,
        Publisher = 0x01,
        Authors = 0x02,
        Year = 0x03,
        Comment = 0xFF,
    };

    // Appends every block of a TAP image; false when the image is cut short.
    bool appendTap(const QByteArray &tap);
    // Appends a CODE header named `name` and the block that carries `data` to `start`, as
    // SAVE "name" CODE start,length writes them.
    void appendCode(const QString &name, const QByteArray &data, int start);
    void addInfo(InfoKind kind, const QString &text);

    qsizetype blockCount() const { return m_blocks.size(); }
    QByteArray tap() const;
    // Fails (nothing) when an info text is longer than the block's length byte can say.
    std::optional<QByteArray> tzx() const;

private:
    QList<QByteArray> m_blocks; // flag byte, data, checksum: a TAP block without its length
    QList<QPair<InfoKind, QByteArray>> m_info;
};
