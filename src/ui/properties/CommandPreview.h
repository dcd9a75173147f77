#pragma once

#include <QWidget>

struct EntryRunChoice;
class QLabel;
class QPlainTextEdit;
class QPushButton;
struct AppState;
struct RomRecord;

// The Files tab's view of what Run would start for the entry as edited: the program and its
// arguments quoted as a terminal wants them, and the working directory, or why Run would start
// nothing. Read-only, with a button that copies it.
class CommandPreview : public QWidget
{
    Q_OBJECT

public:
    CommandPreview(AppState &state, QWidget *parent = nullptr);

    QLabel *lblCommand = nullptr;
    QPlainTextEdit *txtCommand = nullptr;
    QPushButton *cmdCopyCommand = nullptr;

    // Shows the command for `record` with the emulators and paths as they are now, and the
    // entry's own way to run as the library keeps it, or `own` when given.
    void showFor(const RomRecord &record);
    void showFor(const RomRecord &record, const EntryRunChoice &own);
    QString text() const;

private:
    AppState &m_state;
};
