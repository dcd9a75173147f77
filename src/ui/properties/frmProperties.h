#pragma once

#include "core/RomRecord.h"
#include "library/LibraryKey.h"
#include "ui/properties/ImagesTab.h"

#include <QDialog>
#include <QString>
#include <QStringList>

class CatalogueView;
class DetailsTab;
class Dialogs;
class FilesTab;
class NotesTab;
class PictureLoader;
class QPushButton;
class QTabWidget;
class RunTab;
struct AppState;
struct TapeCard;

inline const QString kNoNameMessage = QStringLiteral("Unable to store rom without a name");
inline const QString kUnkeptCharactersQuestion =
    QStringLiteral("These characters cannot be kept in the catalogue file and would be saved as "
                   "\"?\": %1");
inline const QString kRunCaption = QStringLiteral("Run");

// Creates or edits one catalogue entry on five tabs: details, notes, screenshots, files and the
// way to run. Each tab is a class of its own; the dialog owns them, carries what one tab does
// over to the others, and stores what they show. It works on a copy of the entry; OK stores the
// copy (appended when adding, written over the selected entry when editing) and asks the main
// window to redraw, Cancel forgets it. Screenshot directories and rom and music directories chosen
// in its file dialogs join the search paths at once, as everywhere else in the program.
class frmProperties : public QDialog
{
    Q_OBJECT

public:
    // Index of each button of the Images tab's button array.
    using Action = ImagesTab::Action;
    using enum ImagesTab::Action;
    // The tabs of SSTab1.
    enum Tab { TabDetails = 0, TabNotes = 1, TabImages = 2, TabFiles = 3, TabRun = 4 };

    // `adding`: a new entry; otherwise the catalogue's selected entry is edited. Opens the dialog
    // (Form_Load) before returning; show it with exec().
    frmProperties(AppState &state, Dialogs &dialogs, CatalogueView &view, PictureLoader &pictures,
                  bool adding, QWidget *parent = nullptr);

    // True while a new entry is being created; Cancel clears it.
    bool boolAdding = false;

    // Controls.
    QTabWidget *SSTab1 = nullptr;
    DetailsTab *detailsTab = nullptr;
    NotesTab *notesTab = nullptr;
    ImagesTab *imagesTab = nullptr;
    FilesTab *filesTab = nullptr;
    RunTab *runTab = nullptr; // the entry's own way to run
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

    void Form_Load();
    // Copies `record` into the working record and the controls.
    void ShowEntry(const RomRecord &record);

    void cmdOK_Click();
    void cmdCancel_Click();
    // Files dropped on the dialog join the Images tab's working list, as Add does; other files
    // are skipped.
    void Form_OLEDragDrop(const QStringList &paths);

public Q_SLOTS:
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildTabOrder();
    void setCaptions();

    // Asks whether to store texts that would lose characters in the file; true to store.
    bool confirmUnkeptCharacters();
    // Reads the boxes into the working record.
    void readControls();
    // The library follows the entry stored: a renamed rom file takes its row along, and the Run
    // tab's choice is kept.
    void storeLibraryChanges();
    // The command Files shows and the Run tab follow the rom file typed.
    void romFileEdited();
    // Fills the empty boxes of Details and Notes from the rom file's tape: its archive info and
    // its first program header. Nothing the user typed is replaced.
    void fillFromTape(const TapeCard &card, const QString &droppedName);

    AppState &m_state;
    Dialogs &m_dialogs;
    CatalogueView &m_view;
    RomRecord m_working;
    int m_slot = -1;       // the slot being edited
    LibraryKey m_shownKey; // the library row of the entry as it was shown
};
