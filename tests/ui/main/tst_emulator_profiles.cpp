// Emulator profiles through the real window and real processes: an emulator added through its
// preset and made the default for tapes, each tape started in the machine it needs, Run As, the
// command Properties shows, an emulator that stops at once, and the machine in the details pane
// and the list.
#include "TestSupport.h"
#include "WindowFixture.h"

#include "launch/EmulatorPresets.h"
#include "launch/ProcessStarter.h"
#include "ui/list/ColumnChooser.h"
#include "ui/list/GameListModel.h"
#include "ui/list/GameListView.h"
#include "ui/programs/EmulatorProfileEditor.h"
#include "ui/programs/frmEmulators.h"
#include "ui/properties/CommandPreview.h"
#include "ui/properties/FilesTab.h"
#include "ui/properties/frmProperties.h"

#include <QCheckBox>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QTest>

using namespace testsupport;

namespace {

// A TZX whose hardware block says it runs on the 128K only, then one standard block.
QByteArray tape128()
{
    QByteArray tzx("ZXTape!\x1A\x01\x14", 10);
    tzx += QByteArray("\x33\x01\x00\x03\x00", 5);
    tzx += QByteArray("\x10\xE8\x03\x02\x00\xFF\xFF", 7);
    return tzx;
}

// A recording emulator named as Fuse's SDL build is; `failing` makes it say why and stop at once
// instead.
void writeEmulator(const QString &path, bool failing)
{
    if (failing) {
        touch(path, "#!/bin/sh\necho 'Fuse: no ROM for this machine'\nexit 1\n");
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
    } else {
        writeRecordingEmulator(path);
    }
}

struct ProfileFixture : WindowFixture
{
    SystemProcessStarter system;
    QString emulator = path(QStringLiteral("bin/fuse-sdl"));

    ProfileFixture()
    {
        touch(path(QStringLiteral("roms/Sky Raid (1987)(Zeta).tzx")), tape128());
        touch(path(QStringLiteral("roms/plain.tap")), QByteArray("\x02\x00\xFF\xFF", 4));
        writeEmulator(emulator, false);
        starterInUse = &system;
        open();
        QString roms = path(QStringLiteral("roms/"));
        state.paths.AddSearchPath(PathKind::Rom, roms);
        for (const char *file : {"Sky Raid (1987)(Zeta).tzx", "plain.tap"}) {
            RomRecord record;
            record.RomName = QString::fromLatin1(file).section(u'.', 0, 0);
            record.RomFile = QString::fromLatin1(file);
            state.database.Add(record);
        }
        window->RefillGameList();
        state.layout.ViewMode = 4; // the details pane below the list
        window->ArrangePanes();
    }

    // Adds the emulator through the dialog, answering Yes to its preset, and makes it the
    // default for TAP and TZX tapes.
    void addThroughPreset()
    {
        dialogs.files.enqueue(emulator);
        dialogs.texts.enqueue(QStringLiteral("Fuse"));
        dialogs.answers.enqueue(Dialogs::Answer::Yes);
        frmEmulators dialog(state, dialogs, *window);
        dialog.cmdAdd_Click();
        for (QCheckBox *kind : dialog.profile->chkKinds) {
            if (kind->text() == u"tap" || kind->text() == u"tzx")
                kind->setChecked(true);
        }
        dialog.accept();
    }

    void select(int row)
    {
        window->lstGames->setCurrentIndex(window->gameListModel()->index(row, 0));
    }

    QStringList received() const { return recordedArguments(emulator); }
};

// The words a shell makes of `line`: what a user gets who pastes the command into a terminal.
QStringList shellWords(const QString &line)
{
    QProcess shell;
    shell.start(QStringLiteral("sh"),
                {QStringLiteral("-c"), QStringLiteral("printf '%s\\n' ") + line});
    shell.waitForFinished(10000);
    return QString::fromUtf8(shell.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

class tst_EmulatorProfiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void presetRunsEachTapeInItsMachine();
    void emulatorStoppingAtOnceIsReported();
    void machineShownInDetailsAndColumn();
};

// Catches a preset not offered or not applied, Run ignoring the kind's default emulator, the
// machine of a tape not reaching the emulator, Run As starting the file's machine, and a
// Properties command that differs from what was started.
void tst_EmulatorProfiles::presetRunsEachTapeInItsMachine()
{
    ProfileFixture f;
    f.addThroughPreset();
    QCOMPARE(f.state.emulators.entries.size(), 1);
    const ProgramEntry &fuse = f.state.emulators.entries.first();
    QCOMPARE(fuse.profile.arguments, presetFor(f.emulator)->profile.arguments);
    QCOMPARE(fuse.profile.machineArguments, presetFor(f.emulator)->profile.machineArguments);
    QCOMPARE(fuse.profile.defaultFor, (QStringList{"tap", "tzx"}));
    QCOMPARE(f.state.emulators.defaultIndex, -99);

    const QString tzx = f.path(QStringLiteral("roms/Sky Raid (1987)(Zeta).tzx"));
    const QString tap = f.path(QStringLiteral("roms/plain.tap"));
    f.select(0);
    f.window->lstGames_DblClick();
    const QStringList started128 = f.received();
    QCOMPARE(started128, (QStringList{"--machine", "128", tzx}));
    f.select(1);
    f.window->lstGames_DblClick();
    QCOMPARE(f.received(), (QStringList{"--machine", "48", tap}));
    f.window->launcher().RunEntryAs(SpectrumMachine::Plus3);
    QCOMPARE(f.received(), (QStringList{"--machine", "plus3", tap}));

    f.select(0);
    frmProperties properties(f.state, f.dialogs, *f.window, f.window->pictures(), false,
                             f.window.get());
    const QStringList shown = properties.filesTab->commandPreview->text().split(u'\n');
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shellWords(shown.first()), QStringList{f.emulator} + started128);
    QVERIFY(f.dialogs.messages().size() == 1); // the preset's question, nothing else
}

// Catches an emulator that fails at once going unnoticed, or reported without what it said.
void tst_EmulatorProfiles::emulatorStoppingAtOnceIsReported()
{
    ProfileFixture f;
    f.addThroughPreset();
    writeEmulator(f.emulator, true);
    f.select(1);
    f.window->lstGames_DblClick();
    QTRY_COMPARE_WITH_TIMEOUT(f.dialogs.messages().size(), 2, 10000);
    const Message stopped = f.dialogs.messages().last();
    QCOMPARE(stopped.title, QStringLiteral("Can't Run"));
    QVERIFY2(stopped.text.startsWith(QStringLiteral("Fuse stopped at once: ")),
             qPrintable(stopped.text));
    QVERIFY(stopped.text.contains(QStringLiteral("Fuse: no ROM for this machine")));
}

// Catches the details pane without the machine or its reason, a Machine column that reads
// nothing or is not kept, and one that stays after it is unticked.
void tst_EmulatorProfiles::machineShownInDetailsAndColumn()
{
    ProfileFixture f;
    f.select(0);
    QVERIFY(f.window->infoText().contains(
        QStringLiteral("\r\nMachine: 128K (the tape's hardware block)\r\n")));
    f.select(1);
    QVERIFY(f.window->infoText().contains(
        QStringLiteral("\r\nMachine: 48K (no sign of another machine)\r\n")));

    QAction *machine =
        f.window->columns().menu()->findChild<QAction *>(QStringLiteral("mnuColumn_machine"));
    QVERIFY(machine != nullptr);
    machine->trigger();
    const QAbstractItemModel *list = f.window->gameListModel();
    QCOMPARE(list->columnCount(), 4);
    QCOMPARE(list->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Machine"));
    QCOMPARE(list->index(0, 3).data().toString(), QStringLiteral("128K"));
    QCOMPARE(list->index(1, 3).data().toString(), QStringLiteral("48K"));

    f.close();
    QVERIFY(readFile(f.state.programDir.settingsFile()).contains("\r\ncolumns=machine\r\n"));
    f.open();
    QCOMPARE(f.window->gameListModel()->columnCount(), 4);
    f.window->columns()
        .menu()
        ->findChild<QAction *>(QStringLiteral("mnuColumn_machine"))
        ->trigger();
    QCOMPARE(f.window->gameListModel()->columnCount(), 3);
}

QTEST_MAIN(tst_EmulatorProfiles)
#include "tst_emulator_profiles.moc"
