// The emulator and music-player dialogs, the Run With menu and starting programs.
#include "ui/frmMain.h"

#include "launch/Launcher.h"
#include "ui/frmEmulators.h"
#include "ui/frmMusicPlayers.h"

#include <QMenu>

static_assert(frmMain::kDefaultEmulator == kDefaultEmulator);

namespace {

const QString kNoEmulators = QStringLiteral("<none>");

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
    // The menu grows beyond its 20 places rather than leave an emulator out.
    while (emuname.size() < places) {
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

void frmMain::RunEntry(int emulator)
{
    const RomDatabase &database = m_state.database;
    if (!database.isEntrySlot(database.SelectedIndex))
        return;
    const Launch launch =
        planRun(database.Get(database.SelectedIndex), m_state.emulators, emulator, m_state.paths);
    if (const std::optional<Message> message = carryOut(launch, m_starter))
        m_dialogs.show(this, *message);
}

void frmMain::PlayEntryMusic()
{
    const RomDatabase &database = m_state.database;
    if (!database.isEntrySlot(database.SelectedIndex))
        return;
    const Launch launch =
        planPlayMusic(database.Get(database.SelectedIndex), m_state.musicPlayers, m_state.paths);
    if (const std::optional<Message> message = carryOut(launch, m_starter))
        m_dialogs.show(this, *message);
}

void frmMain::mnuEmus_Click(int index)
{
    if (index == 0) {
        frmEmulators dialog(m_state, m_dialogs, *this);
        dialog.exec();
    } else if (index == 1) {
        frmMusicPlayers dialog(m_state, m_dialogs, this);
        dialog.exec();
    }
}
