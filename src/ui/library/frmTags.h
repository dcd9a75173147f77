#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class QLineEdit;
class QListWidget;
class QPushButton;

// Roms > Tags...: the tags of the selected entries, each ticked when every entry has it,
// partly when some do, and new ones typed in. OK gives, for each tag, whether to add it to
// every entry, take it from every entry, or leave each entry as it is.
class frmTags : public QDialog
{
    Q_OBJECT

public:
    // `known`: every tag of the library; `ofEntries`: each selected entry's tags.
    frmTags(const QStringList &known, const QList<QStringList> &ofEntries,
            QWidget *parent = nullptr);

    QListWidget *lstTags = nullptr;
    QLineEdit *txtNewTag = nullptr;
    QPushButton *cmdAddTag = nullptr;

    // An entry's tags after OK: those ticked added, those unticked taken away, those partly
    // ticked as they were.
    QStringList tagsAfter(const QStringList &before) const;

    void addTag(const QString &tag);
};
