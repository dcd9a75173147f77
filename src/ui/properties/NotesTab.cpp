#include "ui/properties/NotesTab.h"

#include "core/Message.h"
#include "core/RomRecord.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

NotesTab::NotesTab(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("tabNotes"));
    txtNotes = new QPlainTextEdit(this);
    txtNotes->setObjectName(QStringLiteral("txtNotes"));
    txtNotes->setTabChangesFocus(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(txtNotes);
}

QString NotesTab::shownNotes(const QString &notes)
{
    return QString(notes).replace(kCrLf, QStringLiteral("\n"));
}

void NotesTab::showRecord(const RomRecord &record)
{
    txtNotes->setPlainText(shownNotes(record.Notes));
    m_shownNotes = txtNotes->toPlainText();
}

void NotesTab::readInto(RomRecord &record) const
{
    const QString notes = txtNotes->toPlainText();
    if (notes != m_shownNotes)
        record.Notes = QString(notes).replace(u'\n', kCrLf);
}

bool NotesTab::fillIfEmpty(const QString &notes)
{
    if (notes.isEmpty() || !txtNotes->toPlainText().trimmed().isEmpty())
        return false;
    txtNotes->setPlainText(shownNotes(notes));
    return true;
}
