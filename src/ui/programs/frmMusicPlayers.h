#pragma once

#include "ui/programs/ProgramListDialog.h"

struct AppState;

// Edits the music-player list and its default.
class frmMusicPlayers : public ProgramListDialog
{
    Q_OBJECT

public:
    frmMusicPlayers(AppState &state, Dialogs &dialogs, QWidget *parent = nullptr);

    QPushButton *Command1 = nullptr; // Set default
    QPushButton *cmdClose = nullptr; // Close
};
