#pragma once

#include "core/RomRecord.h"
#include "library/LibraryKey.h"
#include "render/PictureLoader.h"
#include "ui/properties/ImagesTab.h"

#include <QDialog>
#include <QString>
#include <QStringList>

class CatalogueView;
class CommandPreview;
class DetailsTab;
class NotesTab;
class RunTab;
class Dialogs;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
struct AppState;

inline const QString kNoNameMessage = QStringLiteral("Unable to store rom without a name");
inline const QString kRomNotFoundMessage =
    QStringLiteral("Unable to find rom. Please check the paths");
inline const QString kRomNotFoundTitle = QStringLiteral("ROM not found");
inline const QString kSelectFileTitle = QStringLiteral("Select File");
inline const QString kRomFileFilter =
    QStringLiteral("Z80 (*.Z80)|*.Z80|ZX Riff (*.ZX*)|*.ZX*|Snapshot (*.SNA,*.SZX)|*.SNA,*.SZX|"
                   "Tape Images (*.TAP,*.TZX)|*.TAP,*.TZX|Disk Images (*.DSK,*.TRD,*.SCL)|"
                   "*.DSK,*.TRD,*.SCL|Archives (*.ZIP,*.GZ)|*.ZIP,*.GZ|All files (*.*)|*.*");
inline const QString kMusicFileFilter = QStringLiteral("All files (*.*)|*.*");
inline const QString kUnkeptCharactersQuestion =
    QStringLiteral("These characters cannot be kept in the catalogue file and would be saved as "
                   "\"?\": %1");
inline const QString kFillFromTapeCaption = QStringLiteral("Fill from tape");
inline const QString kRunCaption = QStringLiteral("Run");

// Creates or edits one catalogue entry: details, notes, screenshots and files on four tabs. It
// works on a copy of the entry; OK stores the copy (appended when adding, written over the
// selected entry when editing) and asks the main window to redraw, Cancel forgets it. Screenshot
// directories and rom and music directories chosen in its file dialogs join the search paths at
// once, as everywhere else in the program.
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
    QLabel *Label6 = nullptr;
    QLineEdit *txtRom = nullptr;
    QPushButton *cmdLocate = nullptr;
    QPushButton *cmdRunTaper = nullptr;
    QLabel *Label7 = nullptr;
    QLineEdit *txtMusicFile = nullptr;
    QPushButton *cmdFindMusic = nullptr;
    QPushButton *cmdFillFromTape = nullptr;
    QLabel *lblFilled = nullptr;              // what the last fill from the tape put into the boxes
    CommandPreview *commandPreview = nullptr; // what Run would start for the rom file typed
    RunTab *runTab = nullptr;                 // the entry's own way to run
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

    void Form_Load();
    // Copies `record` into the working record and the controls.
    void ShowEntry(const RomRecord &record);

    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdLocate_Click();
    void cmdFindMusic_Click();
    void txtRom_Change();
    void cmdRunTaper_Click();
    // Files dropped on the dialog join the Images tab's working list, as Add does; other files
    // are skipped.
    void Form_OLEDragDrop(const QStringList &paths);
    // Fills the empty boxes from the rom file's tape: its archive info and its first program
    // header. Nothing the user typed is replaced.
    void cmdFillFromTape_Click();

    // The full path of the rom file if the rom paths find it; empty otherwise.
    QString foundRomFile() const;

public Q_SLOTS:
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildFilesTab();
    void buildTabOrder();
    void setCaptions();

    // Asks whether to store texts that would lose characters in the file; true to store.
    bool confirmUnkeptCharacters();
    // Reads the boxes into the working record.
    void readControls();
    // The library follows the entry stored: a renamed rom file takes its row along, and the Run
    // tab's choice is kept.
    void storeLibraryChanges();
    // Blocks and Fill from tape, for a tape or an archive holding one.
    void updateTapeButtons();
    // The rom file's loading screen, when the rom paths find the file and it holds one.
    LoadedPicture foundLoadingScreen() const;

    AppState &m_state;
    Dialogs &m_dialogs;
    CatalogueView &m_view;
    PictureLoader &m_pictures;
    RomRecord m_working;
    int m_slot = -1;       // the slot being edited
    LibraryKey m_shownKey; // the library row of the entry as it was shown
};
