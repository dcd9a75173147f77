#pragma once

#include <QString>
#include <QWidget>

class QPlainTextEdit;
struct RomRecord;

// The properties dialog's Notes tab: the entry's notes, CR LF in the catalogue and a plain line
// break on screen. Notes left untouched are stored byte for byte as they came, whatever mix of
// line ends they hold.
class NotesTab : public QWidget
{
    Q_OBJECT

public:
    explicit NotesTab(QWidget *parent = nullptr);

    QPlainTextEdit *txtNotes = nullptr;

    void showRecord(const RomRecord &record);
    // Changes the record's Notes only when the box no longer shows what showRecord put there.
    void readInto(RomRecord &record) const;
    // Shows `notes` (lines ending CR LF) when the box is empty; true when it was.
    bool fillIfEmpty(const QString &notes);

    // The text the box shows for a record's Notes.
    static QString shownNotes(const QString &notes);

private:
    QString m_shownNotes; // what txtNotes showed after showRecord
};
