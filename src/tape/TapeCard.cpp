#include "tape/TapeCard.h"

#include "core/Cp1252.h"
#include "core/Numbers.h"
#include "tape/ArchiveInfo.h"

#include <QRegularExpression>

namespace {

constexpr qint16 kStandardSpeed = 0x10;
constexpr qint16 kTurboSpeed = 0x11;
constexpr qint16 kArchiveInfo = 0x32;
constexpr quint8 kHeaderFlag = 0x00;
constexpr quint8 kProgramType = 0x00;
constexpr qsizetype kNameLength = 10;

// Where the Spectrum bytes (flag first) of a data block start inside its Body; -1 for a block
// that carries none.
qsizetype spectrumOffset(const TapeBlock &block, bool isTap)
{
    if (block.BlockId == kStandardSpeed)
        return isTap ? 0 : 4; // a TZX body starts with the pause and the length
    if (block.BlockId == kTurboSpeed)
        return 18;
    return -1;
}

QString programNameOf(const TapeBlock &block, bool isTap)
{
    const qsizetype offset = spectrumOffset(block, isTap);
    const QByteArray &body = block.Body;
    if (offset < 0 || body.size() < offset + 2 + kNameLength)
        return {};
    if (quint8(body.at(offset)) != kHeaderFlag || quint8(body.at(offset + 1)) != kProgramType)
        return {};
    return fromCp1252(body.constData() + offset + 2, kNameLength).trimmed();
}

void takeFirst(QString &field, const QStringList &lines)
{
    if (field.isEmpty())
        field = lines.join(u' ');
}

// A comment keeps its blank lines between paragraphs, with the catalogue's line ends.
QString commentText(const QString &text)
{
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineEnd);
    for (QString &line : lines)
        line = line.trimmed();
    return lines.join(QStringLiteral("\r\n")).trimmed();
}

} // namespace

TapeCard readTapeCard(const TapeIndex &tape)
{
    TapeCard card;
    QStringList authors;
    QStringList comments;
    bool headerSeen = false;
    for (const TapeBlock &block : tape.Blocks) {
        if (block.BlockId == kArchiveInfo) {
            for (const ArchiveText &text : decodeArchiveInfo(block.Body)) {
                const QStringList lines = archiveLines(text.text);
                switch (text.type) {
                case ArchiveField::kFullTitle:
                    takeFirst(card.title, lines);
                    break;
                case ArchiveField::kPublisher:
                    takeFirst(card.publisher, lines);
                    break;
                case ArchiveField::kAuthors:
                    authors += lines;
                    break;
                case ArchiveField::kYear:
                    if (card.year == 0 && !lines.isEmpty())
                        card.year = nearestInteger(leadingNumber(lines.first()));
                    break;
                case ArchiveField::kComment:
                    if (const QString comment = commentText(text.text); !comment.isEmpty())
                        comments.append(comment);
                    break;
                default:
                    break;
                }
            }
        } else if (!headerSeen) {
            card.programName = programNameOf(block, tape.IsTap);
            headerSeen = !card.programName.isEmpty();
        }
    }
    card.authors = authors.join(QStringLiteral(", "));
    card.comment = comments.join(QStringLiteral("\r\n"));
    return card;
}
