#include "ui/frmEmulators.h"

#include "state/AppState.h"
#include "ui/frmMain.h"

namespace {

ProgramListDialog::Kind emulatorsKind()
{
    return {
        26, // lang022 "Emulators"
        "cmdDefult",
        "Command1",
        true,
        QStringLiteral("Select an Emulator"),
        QStringLiteral("Please enter the name for this Emulator"),
        QStringLiteral("Name that Emulator"),
        true,
        QStringLiteral("Remove emulator"),
    };
}

} // namespace

frmEmulators::frmEmulators(AppState &state, Dialogs &dialogs, frmMain &main)
    : ProgramListDialog(state.emulators, state.language, dialogs, emulatorsKind(), &main)
    , cmdDefult(setDefaultButton())
    , Command1(closeButton())
    , m_main(main)
{
    setObjectName(QStringLiteral("frmEmulators"));
}

void frmEmulators::closing()
{
    m_main.RebuildEmulatorMenu();
}
