#pragma once

#include "core/ProgramEntry.h"

#include <QList>
#include <QWidget>

class Dialogs;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The emulators dialog's fields for the selected emulator: its name and executable, the
// arguments it is started with, what it wants for each machine, the kinds of file it runs by
// default, and the presets of the emulators we know. Every edit goes into the entry at once, as
// the rest of the dialog changes the list in place.
class EmulatorProfileEditor : public QWidget
{
    Q_OBJECT

public:
    EmulatorProfileEditor(Dialogs &dialogs, QWidget *parent = nullptr);

    // The entry to edit, or null for none (the fields are then empty and disabled). The entry
    // must outlive the editor's use of it.
    void setEntry(ProgramEntry *entry);

    // Fills the arguments and machines from the preset at `index` of emulatorPresets().
    void applyPreset(qsizetype index);

    QLineEdit *txtName = nullptr;
    QLineEdit *txtPath = nullptr;
    QPushButton *cmdBrowse = nullptr;
    QComboBox *cboPreset = nullptr;
    QPushButton *cmdPreset = nullptr;
    QLineEdit *txtArguments = nullptr;
    QTableWidget *tblMachines = nullptr;
    QList<QCheckBox *> chkKinds; // one per kind, in kFileKinds order

    // The kinds of file an emulator can be the default for.
    static const QStringList &fileKinds();

Q_SIGNALS:
    // The name or the executable changed: the list's row follows.
    void entryRenamed();

private:
    void showEntry();
    void nameEdited();
    void pathEdited();
    void browse();
    void machineEdited(int row);
    void kindToggled();
    // The preset that matches the executable is the one offered.
    void offerPreset();

    Dialogs &m_dialogs;
    ProgramEntry *m_entry = nullptr;
    QLabel *m_presetNote = nullptr;
    bool m_showing = false;
};
