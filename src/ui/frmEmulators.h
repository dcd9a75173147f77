#pragma once

#include "ui/ProgramListDialog.h"

class frmMain;
struct AppState;

// Edits the emulator list and its default; on closing, the main window's Run With menu follows.
class frmEmulators : public ProgramListDialog
{
    Q_OBJECT

public:
    frmEmulators(AppState &state, Dialogs &dialogs, frmMain &main);

    QPushButton *cmdDefult = nullptr; // Set default
    QPushButton *Command1 = nullptr;  // Close

protected:
    void closing() override;

private:
    frmMain &m_main;
};
