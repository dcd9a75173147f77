#pragma once

#include "RecordingProcessStarter.h"
#include "ScriptedDialogs.h"

#include "state/AppState.h"
#include "ui/main/EntryLauncher.h"
#include "ui/main/GameListFinder.h"
#include "ui/main/InfoPane.h"
#include "ui/main/PaneArranger.h"
#include "ui/main/ScreenshotCommands.h"
#include "ui/main/frmMain.h"

#include <QTemporaryDir>

#include <memory>

// The real main window over a temporary program directory, scripted dialogs and a recording
// process starter. The window is created by open(), after the test has laid out its files.
struct WindowFixture
{
    QTemporaryDir dir;
    QTemporaryDir runCacheDir; // never the user's own
    AppState state{ProgramDir::inDirectory(dir.path())};
    ScriptedDialogs dialogs;
    RecordingProcessStarter starter;
    // What the window starts programs through: the recording one unless a test that starts
    // real programs hands in another before open().
    ProcessStarter *starterInUse = &starter;
    std::unique_ptr<frmMain> window;

    QString path(const QString &name) const { return dir.filePath(name); }
    frmMain &open()
    {
        window = std::make_unique<frmMain>(state, dialogs, *starterInUse);
        window->launcher().setRunCache(RunCache(runCacheDir.path()));
        return *window;
    }
    // Closes the window the way the user does, which runs the shutdown sequence.
    void close() { window->close(); }
};
