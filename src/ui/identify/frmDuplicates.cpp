#include "ui/identify/frmDuplicates.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kTitle = QStringLiteral("Duplicates");
const QString kExplanation =
    QStringLiteral("These entries have files of the same size and CRC-32. Tick the ones to "
                   "remove from the catalogue; their files stay on disk.");
const QString kGroupText = QStringLiteral("%1 entries with the same file");

} // namespace

frmDuplicates::frmDuplicates(const RomDatabase &database, const QList<QList<int>> &groups,
                             QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDuplicates"));
    setWindowTitle(kTitle);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto *explanation = new QLabel(kExplanation, this);
    explanation->setWordWrap(true);

    lstGroups = new QTreeWidget(this);
    lstGroups->setObjectName(QStringLiteral("lstGroups"));
    lstGroups->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Rom file"),
                                QStringLiteral("Publisher"), QStringLiteral("Year")});
    lstGroups->setRootIsDecorated(true);
    for (const QList<int> &group : groups) {
        auto *top = new QTreeWidgetItem(lstGroups, {kGroupText.arg(group.size())});
        top->setFirstColumnSpanned(true);
        top->setFlags(Qt::ItemIsEnabled);
        for (const int slot : group) {
            const RomRecord &record = database.Get(slot);
            auto *item = new QTreeWidgetItem(
                top, {record.RomName, record.RomFile, record.Publisher,
                      record.Year > 0 ? QString::number(record.Year) : QString()});
            item->setData(0, Qt::UserRole, slot);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            item->setCheckState(0, Qt::Unchecked);
        }
    }
    lstGroups->expandAll();
    lstGroups->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    cmdRemove = new QPushButton(QStringLiteral("&Remove ticked"), this);
    cmdRemove->setObjectName(QStringLiteral("cmdRemove"));
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdRemove);
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addWidget(lstGroups, 1);
    layout->addLayout(buttons);

    connect(cmdRemove, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstGroups, &QTreeWidget::itemChanged, this, [this] { updateRemove(); });
    updateRemove();
    resize(640, 420);
}

QList<int> frmDuplicates::tickedSlots() const
{
    QList<int> slots;
    for (int group = 0; group < lstGroups->topLevelItemCount(); ++group) {
        const QTreeWidgetItem *top = lstGroups->topLevelItem(group);
        for (int i = 0; i < top->childCount(); ++i) {
            if (top->child(i)->checkState(0) == Qt::Checked)
                slots.append(top->child(i)->data(0, Qt::UserRole).toInt());
        }
    }
    std::sort(slots.begin(), slots.end());
    return slots;
}

void frmDuplicates::updateRemove()
{
    cmdRemove->setEnabled(!tickedSlots().isEmpty());
}
