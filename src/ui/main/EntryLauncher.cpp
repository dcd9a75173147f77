#include "ui/main/EntryLauncher.h"

#include "launch/Launcher.h"
#include "state/AppState.h"
#include "state/EntryRun.h"
#include "ui/common/CatalogueView.h"
#include "ui/common/Dialogs.h"
#include "ui/main/MainMenus.h"
#include "ui/programs/frmEmulators.h"
#include "ui/programs/frmMusicPlayers.h"

#include <QDateTime>
#include <QMenu>
#include <QPointer>

#include <memory>

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
                             CatalogueView &view, QMenu &runWithMenu, QMenu &runAsMenu,
                             QWidget *parent)
    : QObject(parent)
    , m_state(state)
    , m_dialogs(dialogs)
    , m_starter(starter)
    , m_view(view)
    , m_runWithMenu(runWithMenu)
    , m_parent(parent)
{
    for (const SpectrumMachine machine : allMachines()) {
        QAction *action = runAsMenu.addAction(machineName(machine));
        connect(action, &QAction::triggered, this, [this, machine] { RunEntryAs(machine); });
    }
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
    launchSelected(
        [&](const RomRecord &record) {
            return planRun(record, m_state.emulators, choiceFor(record, {emulator, std::nullopt}),
                           m_state.paths, m_state.machines);
        },
        true);
}

void EntryLauncher::RunEntryAs(SpectrumMachine machine)
{
    launchSelected(
        [&](const RomRecord &record) {
            return planRun(record, m_state.emulators,
                           choiceFor(record, {kDefaultEmulator, machine}), m_state.paths,
                           m_state.machines);
        },
        true);
}

void EntryLauncher::PlayEntryMusic()
{
    launchSelected(
        [&](const RomRecord &record) {
            return planPlayMusic(record, m_state.musicPlayers, m_state.paths);
        },
        false);
}

void EntryLauncher::launchSelected(const std::function<Launch(const RomRecord &)> &plan,
                                   bool emulator)
{
    const RomDatabase &database = m_state.database;
    const int slot = database.SelectedIndex;
    if (!database.isEntrySlot(slot))
        return;
    const Launch launch = plan(database.Get(slot));
    if (!launch.note.isEmpty())
        m_view.showStatus(launch.note);
    ProcessStarter::EndHandler ended;
    // The play's session, known once the start is recorded; the end comes later, from the loop.
    auto session = std::make_shared<qint64>(0);
    const qint64 startedAt = QDateTime::currentMSecsSinceEpoch();
    if (emulator) {
        // The program may outlive this window: the handler checks that the launcher is still
        // there before it reports anything.
        ended = [self = QPointer<EntryLauncher>(this), slot, name = launch.programName, startedAt,
                 session](const ProcessEnd &end) {
            if (self == nullptr)
                return;
            if (const std::optional<Message> message = stoppedAtOnce(name, end))
                self->m_dialogs.show(self->m_parent, *message);
            if (self == nullptr)
                return;
            self->recordEnd(slot, *session, end);
            Q_EMIT self->programEnded(slot, end, startedAt);
        };
    }
    if (const std::optional<Message> message = carryOut(launch, m_starter, m_runCache, ended)) {
        m_dialogs.show(m_parent, *message);
        return;
    }
    if (emulator && launch.action == Launch::Action::Start)
        *session = recordStart(slot, startedAt / 1000);
}

RunChoice EntryLauncher::choiceFor(const RomRecord &record, const RunChoice &asked) const
{
    return entryRunChoice(m_state.library.row(LibraryKey::of(record)).run, m_state.emulators,
                          asked);
}

qint64 EntryLauncher::recordStart(int slot, qint64 when)
{
    const LibraryWrite written =
        m_state.library.recordStart(LibraryKey::of(m_state.database.Get(slot)), when);
    if (!written.ok) {
        m_view.showStatus(written.message.text);
        return 0;
    }
    m_view.entryChanged(slot);
    if (slot == m_state.database.SelectedIndex)
        m_view.lstClick();
    return written.session;
}

void EntryLauncher::recordEnd(int slot, qint64 session, const ProcessEnd &end)
{
    // A library opened since, or one that records nothing, has no such session: nothing to add.
    if (session <= 0 || !m_state.library.recordEnd(session, end.milliseconds / 1000).ok)
        return;
    if (!m_state.database.isEntrySlot(slot))
        return;
    m_view.entryChanged(slot);
    if (slot == m_state.database.SelectedIndex)
        m_view.lstClick();
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
