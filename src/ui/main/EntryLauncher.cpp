#include "ui/main/EntryLauncher.h"

#include "launch/Launcher.h"
#include "state/AppState.h"
#include "ui/common/CatalogueView.h"
#include "ui/common/Dialogs.h"
#include "ui/main/MainMenus.h"
#include "ui/programs/frmEmulators.h"
#include "ui/programs/frmMusicPlayers.h"

#include <QMenu>

static_assert(EntryLauncher::kDefaultEmulator == kDefaultEmulator);

namespace {

const QString kNoEmulators = QStringLiteral("<none>");
constexpr int kRunWithPlaces = 20;

// A name is shown as typed: "&" is no keyboard mnemonic here.
QString menuCaption(const QString &name)
{
    return QString(name).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

EntryLauncher::EntryLauncher(AppState &state, Dialogs &dialogs, ProcessStarter &starter,
                             CatalogueView &view, QMenu &runWithMenu, QWidget *parent)
    : QObject(parent)
    , m_state(state)
    , m_dialogs(dialogs)
    , m_starter(starter)
    , m_view(view)
    , m_runWithMenu(runWithMenu)
    , m_parent(parent)
{
}

void EntryLauncher::RebuildEmulatorMenu()
{
    const QList<ProgramEntry> &emulators = m_state.emulators.entries;
    const qsizetype places = m_state.emulators.isUsed() ? emulators.size() : 0;
    // Twenty places, and more rather than leave an emulator out.
    while (m_emuname.size() < std::max<qsizetype>(places, kRunWithPlaces)) {
        const int place = int(m_emuname.size());
        QAction *action = m_runWithMenu.addAction(QString());
        m_emuname.append(action);
        connect(action, &QAction::triggered, this, [this, place] { RunEntry(place); });
    }

    m_emuname[0]->setText(kNoEmulators);
    m_emuname[0]->setEnabled(false);
    m_emuname[0]->setVisible(true);
    for (qsizetype place = 1; place < m_emuname.size(); ++place) {
        m_emuname[place]->setEnabled(false);
        m_emuname[place]->setVisible(false);
    }
    for (qsizetype place = 0; place < places; ++place) {
        m_emuname[place]->setText(menuCaption(emulators.at(place).name));
        m_emuname[place]->setEnabled(true);
        m_emuname[place]->setVisible(true);
    }
}

void EntryLauncher::RunEntry(int emulator)
{
    launchSelected([&](const RomRecord &record) {
        return planRun(record, m_state.emulators, emulator, m_state.paths);
    });
}

void EntryLauncher::PlayEntryMusic()
{
    launchSelected([&](const RomRecord &record) {
        return planPlayMusic(record, m_state.musicPlayers, m_state.paths);
    });
}

void EntryLauncher::launchSelected(const std::function<Launch(const RomRecord &)> &plan)
{
    const RomDatabase &database = m_state.database;
    if (!database.isEntrySlot(database.SelectedIndex))
        return;
    const Launch launch = plan(database.Get(database.SelectedIndex));
    if (!launch.note.isEmpty())
        m_view.showStatus(launch.note);
    if (const std::optional<Message> message = carryOut(launch, m_starter, m_runCache))
        m_dialogs.show(m_parent, *message);
}

void EntryLauncher::mnuEmus_Click(int index)
{
    if (index == Menu::EmusSpeccy) {
        frmEmulators dialog(m_state, m_dialogs, m_view, m_parent);
        dialog.exec();
    } else if (index == Menu::EmusMusic) {
        frmMusicPlayers dialog(m_state, m_dialogs, m_parent);
        dialog.exec();
    }
}
