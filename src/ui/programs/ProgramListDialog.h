#pragma once

#include "core/ProgramEntry.h"
#include "launch/ProgramListEditing.h"

#include <QDialog>
#include <QList>

class Dialogs;
class QListWidget;
class QPushButton;
struct LanguageTable;

// The emulators and the music-players dialogs are twins: one list box and four buttons editing
// one program list in place. What differs between them is given by a Kind.
class ProgramListDialog : public QDialog
{
    Q_OBJECT

public:
    struct Kind
    {
        int titleCaption; // LanguageTable index
        // The twins name their Set default and Close buttons differently.
        const char *setDefaultName;
        const char *closeName;
        // Emulators: Remove and Set default wait for a row click, and Set default is disabled on
        // the default's row. Music players: both are always enabled.
        bool buttonsFollowRowClick;
        QString fileDialogTitle;
        QString namePrompt;
        QString nameTitle;
        // Emulators: an empty or cancelled name prompt adds the program under its default name.
        // Music players: it adds nothing.
        bool emptyNameAddsDefault;
        QString removeTitle;
    };

    QListWidget *lstEmus = nullptr;
    QPushButton *cmdAdd = nullptr;
    QPushButton *cmdRemove = nullptr;

    QPushButton *setDefaultButton() const { return m_setDefault; }
    QPushButton *closeButton() const { return m_close; }

    // Redraws the list box from the list and selects the default's row.
    void ShowProgramList();
    // Asks for the name of the executable `path` and adds it.
    void AddProgram(const QString &path);
    // Asks, then removes the program of `row` (a row number of the list box).
    void RemoveProgram(int row);

    void cmdAdd_Click();
    void cmdRemove_Click();
    void setDefault_Click();
    void lstEmus_Click();

    // The open-file dialog's filter and default extension for executables on this system.
    static QString executableFilter();
    static QString executableSuffix();

protected:
    ProgramListDialog(ProgramList &list, const LanguageTable &language, Dialogs &dialogs,
                      const Kind &kind, QWidget *parent);

    // Runs however the dialog closes (Close button, Escape, the window's close box): every
    // change is already in the list, there is nothing to cancel.
    virtual void closing() {}
    void done(int result) override;
    // The list element of the current row changed (-1: no row).
    virtual void currentProgramChanged(qsizetype /*index*/) {}
    // AddProgram added element `index`.
    virtual void programAdded(qsizetype /*index*/) {}

    // Puts `details` below the list and the buttons.
    void addDetails(QWidget *details);
    // Makes the row of list element `index` the current one, as a click on it does.
    void selectProgram(qsizetype index);
    // The rows' texts again, after a name changed in place.
    void refreshRowTexts();
    ProgramList &list() { return m_list; }
    Dialogs &dialogs() { return m_dialogs; }

private:
    // The list element a row stands for, or -1 for no row.
    qsizetype indexOfRow(int row) const;

    class QVBoxLayout *m_layout = nullptr;
    ProgramList &m_list;
    Dialogs &m_dialogs;
    Kind m_kind;
    QList<ProgramListRow> m_rows;
    QPushButton *m_setDefault = nullptr;
    QPushButton *m_close = nullptr;
};
