#include "ui/programs/frmEmulators.h"

#include "launch/EmulatorPresets.h"
#include "state/AppState.h"
#include "ui/common/CatalogueView.h"
#include "ui/common/Dialogs.h"
#include "ui/programs/EmulatorProfileEditor.h"

#include <QListWidget>

namespace {

const QString kUsePreset = QStringLiteral("Use the %1 preset for %2? It fills in the arguments "
                                          "and what to pass for each machine.");
const QString kPresetTitle = QStringLiteral("Emulator preset");

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
    , profile(new EmulatorProfileEditor(dialogs, this))
    , m_view(view)
{
    setObjectName(QStringLiteral("frmEmulators"));
    addDetails(profile);
    resize(640, 600);
    connect(profile, &EmulatorProfileEditor::entryRenamed, this, [this] { refreshRowTexts(); });
    const int row = lstEmus->currentRow();
    currentProgramChanged(row >= 0 ? list().defaultIndex : -1);
}

void frmEmulators::closing()
{
    m_view.RebuildEmulatorMenu();
}

void frmEmulators::currentProgramChanged(qsizetype index)
{
    ProgramList &emulators = list();
    profile->setEntry(index >= 0 && index < emulators.entries.size() ? &emulators.entries[index]
                                                                     : nullptr);
}

void frmEmulators::programAdded(qsizetype index)
{
    // The new emulator is the one to set up.
    selectProgram(index);
    ProgramEntry &added = list().entries[index];
    const EmulatorPreset *preset = presetFor(added.path);
    if (preset == nullptr)
        return;
    const Message question{kUsePreset.arg(preset->name, added.name), kPresetTitle,
                           MessageIcon::Question, MessageButtons::YesNo};
    if (dialogs().show(this, question) == Dialogs::Answer::Yes)
        profile->applyPreset(preset - emulatorPresets().constData());
}
