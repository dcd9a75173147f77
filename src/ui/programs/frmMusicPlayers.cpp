#include "ui/programs/frmMusicPlayers.h"

#include "state/AppState.h"

namespace {

ProgramListDialog::Kind musicPlayersKind()
{
    return {
        21, // lang017 "Audio Players"
        "Command1",
        "cmdClose",
        false,
        QStringLiteral("Select an Music Player"),
        QStringLiteral("Please enter the name for this Music player"),
        QStringLiteral("Name that Music player"),
        false,
        QStringLiteral("Remove Music player"),
    };
}

} // namespace

frmMusicPlayers::frmMusicPlayers(AppState &state, Dialogs &dialogs, QWidget *parent)
    : ProgramListDialog(state.musicPlayers, state.language, dialogs, musicPlayersKind(), parent)
    , Command1(setDefaultButton())
    , cmdClose(closeButton())
{
    setObjectName(QStringLiteral("frmMusicPlayers"));
}
