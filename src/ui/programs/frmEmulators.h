#pragma once

#include "ui/programs/ProgramListDialog.h"

class CatalogueView;
class EmulatorProfileEditor;
struct AppState;

// Edits the emulator list and its default, and the selected emulator's profile; on closing, the
// main window's Run With menu follows.
class frmEmulators : public ProgramListDialog
{
    Q_OBJECT

public:
    // `view`'s Run With menu is rebuilt however the dialog closes.
    frmEmulators(AppState &state, Dialogs &dialogs, CatalogueView &view, QWidget *parent = nullptr);

    QPushButton *cmdDefult = nullptr; // Set default
    QPushButton *Command1 = nullptr;  // Close
    EmulatorProfileEditor *profile = nullptr;

protected:
    void closing() override;
    void currentProgramChanged(qsizetype index) override;
    // An executable a preset knows: the preset is offered at once.
    void programAdded(qsizetype index) override;

private:
    CatalogueView &m_view;
};
