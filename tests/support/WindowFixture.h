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

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

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

// A stand-in emulator started as a real program: each start writes its arguments, one a line,
// to PATH.args, then runs `then` (shell lines: a sleep, a failing exit ...).
inline void writeRecordingEmulator(const QString &path, const QByteArray &then = {})
{
    QDir().mkpath(QFileInfo(path).path());
    QFile script(path);
    if (script.open(QIODevice::WriteOnly))
        script.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args.tmp\"\n"
                     "mv \"$0.args.tmp\" \"$0.args\"\n" +
                     then);
    script.close();
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
}

// The arguments the recording emulator at `path` received at its last start, once it wrote
// them; the record is removed, so the next start's can be told apart.
inline QStringList recordedArguments(const QString &path)
{
    QFile file(path + QStringLiteral(".args"));
    if (!QTest::qWaitFor([&] { return file.exists(); }, 10000) || !file.open(QIODevice::ReadOnly))
        return {QStringLiteral("<not started>")};
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    file.remove();
    return lines;
}
