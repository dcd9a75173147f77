#include "ui/programs/frmEmulators.h"

#include "state/AppState.h"
#include "ui/common/CatalogueView.h"

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

frmEmulators::frmEmulators(AppState &state, Dialogs &dialogs, CatalogueView &view, QWidget *parent)
    : ProgramListDialog(state.emulators, state.language, dialogs, emulatorsKind(), parent)
    , cmdDefult(setDefaultButton())
    , Command1(closeButton())
    , m_view(view)
{
    setObjectName(QStringLiteral("frmEmulators"));
}

void frmEmulators::closing()
{
    m_view.RebuildEmulatorMenu();
}
