#pragma once

#include "core/RomRecord.h"
#include "library/LibraryRow.h"

#include <QWidget>

class CommandPreview;
class QComboBox;
class QLineEdit;
struct AppState;

// The properties dialog's Run tab: the entry's own way to run, kept in the library beside the
// catalogue (the emulator, or the default for its kind; the machine, or the one read from the
// file; arguments added to the emulator's), and the command it gives.
class RunTab : public QWidget
{
    Q_OBJECT

public:
    explicit RunTab(AppState &state, QWidget *parent = nullptr);

    QComboBox *cboEmulator = nullptr;
    QComboBox *cboMachine = nullptr;
    QLineEdit *txtArguments = nullptr;
    CommandPreview *preview = nullptr;

    // Shows `choice` for the entry as `record` is now.
    void showChoice(const EntryRunChoice &choice, const RomRecord &record);
    // A field of the entry changed (its rom file, above all): what is read and run follows.
    void entryEdited(const RomRecord &record);
    EntryRunChoice choice() const;

private:
    void update();

    AppState &m_state;
    RomRecord m_record;
    bool m_showing = false;
};
