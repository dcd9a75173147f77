#include "ui/list/GameListModel.h"

#include "core/PathText.h"
#include "state/InfoText.h"

#include <QDateTime>

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace {

const QStringList kHeaders = {QStringLiteral("Rom Name"), QStringLiteral("Publisher"),
                              QStringLiteral("Year")};

// A 16 x 16 tape or snapshot badge: a coloured label with the type's letter.
QIcon badge(const QColor &colour, const QString &letter)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (letter.isEmpty()) {
        painter.setPen(QPen(QColor(120, 120, 120), 1));
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(3.5, 1.5, 9, 13));
        return QIcon(pixmap);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRoundedRect(QRectF(1, 1, 14, 14), 3, 3);
    QFont font = painter.font();
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, letter);
    return QIcon(pixmap);
}

} // namespace

GameListModel::GameListModel(const RomDatabase &database, const RomFileIndex &romFiles,
                             QObject *parent)
    : QAbstractTableModel(parent)
    , m_database(database)
    , m_romFiles(romFiles)
    , m_blank(badge({}, {}))
    , m_tzx(badge(QColor(30, 90, 200), QStringLiteral("X")))
    , m_tap(badge(QColor(30, 150, 70), QStringLiteral("T")))
    , m_z80(badge(QColor(210, 110, 20), QStringLiteral("Z")))
    , m_sna(badge(QColor(140, 50, 170), QStringLiteral("S")))
{
}

void GameListModel::refill()
{
    beginResetModel();
    m_rowToSlot.clear();
    m_machineTexts.clear();
    const QList<RomRecord> &slots = m_database.slots();
    m_rowToSlot.reserve(slots.size());
    for (int slot = 0; slot < slots.size(); ++slot) {
        if (slots.at(slot).isEntry())
            m_rowToSlot.append(slot);
    }
    endResetModel();
}

void GameListModel::refreshSlot(int slot)
{
    m_machineTexts.remove(slot);
    const int row = rowOfSlot(slot);
    if (row >= 0)
        Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
}

bool GameListModel::isMissing(const RomRecord &record) const
{
    return m_romFiles.isListed() && !m_romFiles.holds(record.RomFile);
}

void GameListModel::romFilesChanged()
{
    // A file may have come or gone, or be another one now: its machine is read again.
    m_machineTexts.clear();
    if (m_rowToSlot.isEmpty())
        return;
    Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                       {Qt::ForegroundRole, Qt::FontRole});
    if (!m_optional.isEmpty())
        Q_EMIT dataChanged(index(0, ColumnCount), index(rowCount() - 1, columnCount() - 1),
                           {Qt::DisplayRole});
}

void GameListModel::setOptionalColumns(const QList<ListColumn> &columns)
{
    if (columns == m_optional)
        return;
    if (!m_optional.isEmpty()) {
        beginRemoveColumns({}, ColumnCount, ColumnCount + int(m_optional.size()) - 1);
        m_optional.clear();
        endRemoveColumns();
    }
    if (!columns.isEmpty()) {
        beginInsertColumns({}, ColumnCount, ColumnCount + int(columns.size()) - 1);
        m_optional = columns;
        endInsertColumns();
    }
}

std::optional<ListColumn> GameListModel::optionalColumnAt(int column) const
{
    const int at = column - ColumnCount;
    if (at < 0 || at >= m_optional.size())
        return std::nullopt;
    return m_optional.at(at);
}

void GameListModel::setMachineText(std::function<QString(const RomRecord &)> machineText)
{
    m_machineText = std::move(machineText);
    m_machineTexts.clear();
}

void GameListModel::setLibraryRow(std::function<const LibraryRow *(int slot)> libraryRow)
{
    m_libraryRow = std::move(libraryRow);
}

const LibraryRow &GameListModel::rememberedOf(int slot) const
{
    static const LibraryRow nothing;
    const LibraryRow *found = m_libraryRow(slot);
    return found != nullptr ? *found : nothing;
}

QVariant GameListModel::sortKey(ListColumn column, int row) const
{
    if (!m_libraryRow || row < 0 || row >= m_rowToSlot.size())
        return {};
    const LibraryRow &remembered = rememberedOf(m_rowToSlot.at(row));
    switch (column) {
    case ListColumn::Favourite:
        return remembered.favourite ? 0 : 1; // favourites first
    case ListColumn::TimesPlayed:
        return remembered.plays;
    case ListColumn::LastPlayed:
        return remembered.lastPlayed;
    case ListColumn::PlayTime:
        return remembered.secondsPlayed;
    case ListColumn::Tags:
        return remembered.tags.join(u' ').toCaseFolded();
    case ListColumn::Machine:
        break;
    }
    return {};
}

QVariant GameListModel::optionalText(ListColumn column, int slot, const RomRecord &record) const
{
    if (column != ListColumn::Machine) {
        if (!m_libraryRow)
            return {};
        const LibraryRow &remembered = rememberedOf(slot);
        switch (column) {
        case ListColumn::Favourite:
            return remembered.favourite ? QStringLiteral("\u2605") : QString();
        case ListColumn::TimesPlayed:
            return remembered.plays > 0 ? QString::number(remembered.plays) : QString();
        case ListColumn::LastPlayed:
            return remembered.plays > 0 ? QDateTime::fromSecsSinceEpoch(remembered.lastPlayed)
                                              .toString(u"yyyy-MM-dd hh:mm")
                                        : QString();
        case ListColumn::PlayTime:
            return remembered.secondsPlayed > 0 ? playTimeText(remembered.secondsPlayed)
                                                : QString();
        case ListColumn::Tags:
            return remembered.tags.join(QStringLiteral(", "));
        case ListColumn::Machine:
            break;
        }
    }
    switch (column) {
    case ListColumn::Machine: {
        if (!m_machineText)
            return {};
        auto it = m_machineTexts.constFind(slot);
        if (it == m_machineTexts.constEnd())
            it = m_machineTexts.insert(slot, m_machineText(record));
        return *it;
    }
    default:
        return {};
    }
}

int GameListModel::rowOfSlot(int slot) const
{
    const auto it = std::lower_bound(m_rowToSlot.begin(), m_rowToSlot.end(), slot);
    return it != m_rowToSlot.end() && *it == slot ? int(it - m_rowToSlot.begin()) : -1;
}

QString GameListModel::iconKey(const QString &romFile)
{
    const QString extension = lowerExtension(romFile);
    for (const char *key : {"tap", "tzx", "z80", "sna"}) {
        if (extension == QLatin1String(key))
            return extension;
    }
    return QStringLiteral("blank");
}

QString GameListModel::kindOf(const QString &romFile)
{
    const QString key = iconKey(romFile);
    if (key == u"tzx")
        return QStringLiteral("TZX tape");
    if (key == u"tap")
        return QStringLiteral("TAP tape");
    if (key == u"z80")
        return QStringLiteral("Z80 snapshot");
    if (key == u"sna")
        return QStringLiteral("SNA snapshot");
    return romFile.isEmpty() ? QStringLiteral("No rom file") : QStringLiteral("Other file");
}

const QIcon &GameListModel::iconFor(const QString &romFile) const
{
    const QString key = iconKey(romFile);
    if (key == u"tzx")
        return m_tzx;
    if (key == u"tap")
        return m_tap;
    if (key == u"z80")
        return m_z80;
    if (key == u"sna")
        return m_sna;
    return m_blank;
}

int GameListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rowToSlot.size());
}

int GameListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount + int(m_optional.size());
}

QVariant GameListModel::data(const QModelIndex &index, int role) const
{
    // The catalogue can change before the rows follow it (a message shown while a new one is
    // loaded lets the list repaint): a row whose slot is gone draws nothing.
    if (!index.isValid() || index.row() >= m_rowToSlot.size() ||
        !m_database.isEntrySlot(m_rowToSlot.at(index.row())))
        return {};
    const int slot = m_rowToSlot.at(index.row());
    const RomRecord &record = m_database.Get(slot);
    if (role == Qt::DisplayRole) {
        if (const std::optional<ListColumn> optional = optionalColumnAt(index.column()))
            return optionalText(*optional, slot, record);
        switch (index.column()) {
        case NameColumn:
            return record.RomName;
        case PublisherColumn:
            return record.Publisher;
        case YearColumn:
            return record.Year == 0 ? QString() : QString::number(record.Year);
        default:
            return {};
        }
    }
    switch (role) {
    case Qt::DecorationRole:
        return index.column() == NameColumn ? QVariant(iconFor(record.RomFile)) : QVariant();
    case Qt::ToolTipRole:
        return index.column() == NameColumn ? QVariant(kindOf(record.RomFile)) : QVariant();
    // An entry whose rom file is in none of the rom paths: its texts stay, its look says it.
    case Qt::ForegroundRole:
        return isMissing(record) ? QVariant(QColor(Qt::gray)) : QVariant();
    case Qt::FontRole: {
        if (!isMissing(record))
            return {};
        QFont font;
        font.setItalic(true);
        return font;
    }
    default:
        return {};
    }
}

QVariant GameListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    if (const std::optional<ListColumn> optional = optionalColumnAt(section))
        return listColumnCaption(*optional);
    if (section >= 0 && section < kHeaders.size())
        return kHeaders.at(section);
    return {};
}
