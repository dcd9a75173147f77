#pragma once

#include "ui/programs/ProgramListDialog.h"

class CatalogueView;
struct AppState;

// Edits the emulator list and its default; on closing, the main window's Run With menu follows.
class frmEmulators : public ProgramListDialog
{
    Q_OBJECT

public:
    // `view`'s Run With menu is rebuilt however the dialog closes.
    frmEmulators(AppState &state, Dialogs &dialogs, CatalogueView &view, QWidget *parent = nullptr);

    QPushButton *cmdDefult = nullptr; // Set default
    QPushButton *Command1 = nullptr;  // Close

protected:
    void closing() override;

private:
    CatalogueView &m_view;
};
