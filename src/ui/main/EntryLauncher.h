#pragma once

#include "core/SpectrumMachine.h"
#include "launch/ProcessStarter.h"
#include "launch/RunCache.h"

#include <QList>
#include <QObject>

#include <functional>

class CatalogueView;
class Dialogs;
class QAction;
class QMenu;
class QWidget;
struct AppState;
struct Launch;
struct RomRecord;
struct RunChoice;

// Starting the selected entry in an emulator and its music in a player, the Run With menu that
// follows the emulator list, the Run As menu of machines, and the dialogs that edit the two
// lists.
class EntryLauncher : public QObject
{
    Q_OBJECT

public:
    // `emulator` of RunEntry: an index into the emulator list, or this for the default one.
    static constexpr int kDefaultEmulator = -1;

    EntryLauncher(AppState &state, Dialogs &dialogs, ProcessStarter &starter, CatalogueView &view,
                  QMenu &runWithMenu, QMenu &runAsMenu, QWidget *parent);

    // The Run With menu's places, one per emulator (at least twenty).
    const QList<QAction *> &emuname() const { return m_emuname; }
    void RebuildEmulatorMenu();
    void RunEntry(int emulator);
    // Run As: the emulator Run would use, started this once in `machine`.
    void RunEntryAs(SpectrumMachine machine);
    void PlayEntryMusic();
    // Emulators > Speccy or Music: the list's dialog, modal.
    void mnuEmus_Click(int index);

    // Where an archived rom file's member is written for the emulator: the user's own cache
    // unless a test hands in a directory of its own.
    void setRunCache(const RunCache &cache) { m_runCache = cache; }

Q_SIGNALS:
    // An emulator started for the entry in `slot` ended; it was started at `startedAtMSecs`
    // (milliseconds since the epoch).
    void programEnded(int slot, const ProcessEnd &end, qint64 startedAtMSecs);

private:
    // Starts what `plan` makes of the selected entry: the one way Run, Run With, Run As and
    // Play Music reach a program. An emulator is watched: one that stops at once says why.
    void launchSelected(const std::function<Launch(const RomRecord &)> &plan, bool emulator);
    // What the user asked for this once, with the entry's own choices from the library.
    RunChoice choiceFor(const RomRecord &record, const RunChoice &asked) const;
    // A start counts a play at once; its end adds the time it ran. Returns the session, or 0
    // when the library records nothing.
    qint64 recordStart(int slot, qint64 when);
    void recordEnd(int slot, qint64 session, const ProcessEnd &end);

    AppState &m_state;
    Dialogs &m_dialogs;
    ProcessStarter &m_starter;
    CatalogueView &m_view;
    QMenu &m_runWithMenu;
    QWidget *m_parent;
    QList<QAction *> m_emuname;
    RunCache m_runCache{RunCache::standardDirectory()};
};
