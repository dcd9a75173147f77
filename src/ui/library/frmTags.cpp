#include "ui/library/frmTags.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Tags");
const QString kNewTagPrompt = QStringLiteral("New tag");

bool holds(const QStringList &tags, const QString &tag)
{
    return tags.contains(tag, Qt::CaseInsensitive);
}

} // namespace

frmTags::frmTags(const QStringList &known, const QList<QStringList> &ofEntries, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTags"));
    setWindowTitle(kTitle);
    lstTags = new QListWidget(this);
    lstTags->setObjectName(QStringLiteral("lstTags"));
    txtNewTag = new QLineEdit(this);
    txtNewTag->setObjectName(QStringLiteral("txtNewTag"));
    txtNewTag->setPlaceholderText(kNewTagPrompt);
    cmdAddTag = new QPushButton(QStringLiteral("&Add"), this);
    cmdAddTag->setObjectName(QStringLiteral("cmdAddTag"));
    cmdAddTag->setAutoDefault(false);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto *newRow = new QHBoxLayout;
    newRow->addWidget(txtNewTag, 1);
    newRow->addWidget(cmdAddTag);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lstTags, 1);
    layout->addLayout(newRow);
    layout->addWidget(buttons);
    resize(320, 360);

    QStringList shown = known;
    for (const QStringList &tags : ofEntries) {
        for (const QString &tag : tags) {
            if (!holds(shown, tag))
                shown.append(tag);
        }
    }
    for (const QString &tag : std::as_const(shown)) {
        qsizetype having = 0;
        for (const QStringList &tags : ofEntries)
            having += holds(tags, tag) ? 1 : 0;
        auto *item = new QListWidgetItem(tag, lstTags);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        // A tag some entries have can be left partly ticked: those keep it, the rest go without.
        if (having > 0 && having < ofEntries.size()) {
            item->setFlags(item->flags() | Qt::ItemIsUserTristate);
            item->setCheckState(Qt::PartiallyChecked);
        } else {
            item->setCheckState(having > 0 ? Qt::Checked : Qt::Unchecked);
        }
    }

    connect(cmdAddTag, &QPushButton::clicked, this, [this] { addTag(txtNewTag->text()); });
    connect(txtNewTag, &QLineEdit::returnPressed, this, [this] { addTag(txtNewTag->text()); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void frmTags::addTag(const QString &typed)
{
    const QString tag = typed.trimmed();
    txtNewTag->clear();
    if (tag.isEmpty())
        return;
    for (int row = 0; row < lstTags->count(); ++row) {
        if (lstTags->item(row)->text().compare(tag, Qt::CaseInsensitive) == 0) {
            lstTags->item(row)->setCheckState(Qt::Checked);
            return;
        }
    }
    auto *item = new QListWidgetItem(tag, lstTags);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Checked);
}

QStringList frmTags::tagsAfter(const QStringList &before) const
{
    QStringList after;
    for (const QString &tag : before) {
        bool removed = false;
        for (int row = 0; row < lstTags->count(); ++row) {
            const QListWidgetItem *item = lstTags->item(row);
            if (item->checkState() == Qt::Unchecked &&
                item->text().compare(tag, Qt::CaseInsensitive) == 0)
                removed = true;
        }
        if (!removed)
            after.append(tag);
    }
    for (int row = 0; row < lstTags->count(); ++row) {
        const QListWidgetItem *item = lstTags->item(row);
        if (item->checkState() == Qt::Checked && !holds(after, item->text()))
            after.append(item->text());
    }
    return after;
}
