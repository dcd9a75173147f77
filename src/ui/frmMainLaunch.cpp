// The emulator and music-player dialogs, the Run With menu and starting programs.
#include "ui/frmMain.h"

#include "launch/Launcher.h"
#include "ui/frmEmulators.h"
#include "ui/frmMusicPlayers.h"

#include <QMenu>

static_assert(frmMain::kDefaultEmulator == kDefaultEmulator);

namespace {

const QString kNoEmulators = QStringLiteral("<none>");
constexpr int kRunWithPlaces = 20;

// A name is shown as typed: "&" is no keyboard mnemonic here.
QString menuCaption(const QString &name)
{
    return QString(name).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

void frmMain::RebuildEmulatorMenu()
{
    const QList<ProgramEntry> &emulators = m_state.emulators.entries;
    const qsizetype places = m_state.emulators.isUsed() ? emulators.size() : 0;
    // Twenty places, and more rather than leave an emulator out.
    while (emuname.size() < std::max<qsizetype>(places, kRunWithPlaces)) {
        const int place = int(emuname.size());
        QAction *action = runWithMenu->addAction(QString());
        emuname.append(action);
        connect(action, &QAction::triggered, this, [this, place] { emuname_Click(place); });
    }

    emuname[0]->setText(kNoEmulators);
    emuname[0]->setEnabled(false);
    emuname[0]->setVisible(true);
    for (qsizetype place = 1; place < emuname.size(); ++place) {
        emuname[place]->setEnabled(false);
        emuname[place]->setVisible(false);
    }
    for (qsizetype place = 0; place < places; ++place) {
        emuname[place]->setText(menuCaption(emulators.at(place).name));
        emuname[place]->setEnabled(true);
        emuname[place]->setVisible(true);
    }
}

void frmMain::emuname_Click(int index)
{
    RunEntry(index);
}

void frmMain::RunEntry(int emulator)
{
    launchSelected([&](const RomRecord &record) {
        return planRun(record, m_state.emulators, emulator, m_state.paths);
    });
}

void frmMain::PlayEntryMusic()
{
    launchSelected([&](const RomRecord &record) {
        return planPlayMusic(record, m_state.musicPlayers, m_state.paths);
    });
}

void frmMain::launchSelected(const std::function<Launch(const RomRecord &)> &plan)
{
    const RomDatabase &database = m_state.database;
    if (!database.isEntrySlot(database.SelectedIndex))
        return;
    const Launch launch = plan(database.Get(database.SelectedIndex));
    if (!launch.note.isEmpty())
        showStatus(launch.note);
    if (const std::optional<Message> message = carryOut(launch, m_starter))
        m_dialogs.show(this, *message);
}

void frmMain::mnuEmus_Click(int index)
{
    if (index == Menu::EmusSpeccy) {
        frmEmulators dialog(m_state, m_dialogs, *this, this);
        dialog.exec();
    } else if (index == Menu::EmusMusic) {
        frmMusicPlayers dialog(m_state, m_dialogs, this);
        dialog.exec();
    }
}
