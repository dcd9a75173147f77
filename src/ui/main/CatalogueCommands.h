#pragma once

#include "core/Message.h"
#include "ui/common/Dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

class CatalogueView;
class QWidget;
struct AppState;

// The File menu's commands, removal, drops on the list, import and export: everything that
// replaces, saves or changes the catalogue as a whole. The main window calls these; tests can drive
// them alone.
class CatalogueCommands
{
public:
    enum class SaveOutcome { Saved, Cancelled, Failed };

    // `parent` owns the dialogs shown; `view` is redrawn after each change.
    CatalogueCommands(AppState &state, Dialogs &dialogs, CatalogueView &view, QWidget *parent);

    // Start-up: the last database, when the settings ask for it and it is still there.
    void loadLastDatabase();
    // Shutdown: "Save Database?", and another name until a save works or the user gives up.
    void saveAtShutdown();

    void newDatabase();
    void loadDatabase();
    // To the file the catalogue belongs to, or through the save dialog.
    SaveOutcome save();
    SaveOutcome saveAs();

    // Asks, then removes the entries in `slots` (any order, duplicates allowed).
    void removeEntries(QList<int> slots);
    // Tapes, snapshots, disk images and archives of them dropped on the list, and whole
    // directories of them. An archive's entry is named after the file inside it; an archive
    // holding none is left out, and the status bar counts those.
    void dropOnList(const QStringList &paths);

    // Misc > Import: the import wizard, modal over `parent`.
    void importDatabases();
    // Misc > Export: the catalogue as a pocket catalogue, to a file the user names. Does
    // nothing on an empty catalogue.
    void exportPocketDatabase();

private:
    enum class SaveFirst { Saved, NotSaved, Stop };
    enum class DropOutcome { Added, Refused, NoSpectrumFile };

    SaveOutcome saveAs(const QString &proposed);
    SaveOutcome saveTo(const QString &path);
    // "Save current database first?", when there is a catalogue to lose. Stop: the user
    // cancelled or the save failed.
    SaveFirst offerSaveFirst();
    // Replaces the catalogue with the file; false (and the catalogue kept) when it is rejected.
    bool loadFile(const QString &path);
    void afterCatalogueReplaced();
    DropOutcome addDroppedFile(const QString &directory, const QString &name);

    Dialogs::Answer ask(const Message &message);
    void showMessages(const Messages &messages);

    AppState &m_state;
    Dialogs &m_dialogs;
    CatalogueView &m_view;
    QWidget *m_parent;
};
