#pragma once

#include "core/RomRecord.h"
#include "library/LibraryKey.h"
#include "render/PictureLoader.h"

#include <QDialog>
#include <QImage>
#include <QList>
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
inline const QString kRemoveShotQuestion = QStringLiteral("Remove this screenshot?");
inline const QString kClearShotsQuestion = QStringLiteral("Remove all screenshots?");
inline const QString kSelectFileTitle = QStringLiteral("Select File");
inline const QString kRomFileFilter =
    QStringLiteral("Z80 (*.Z80)|*.Z80|ZX Riff (*.ZX*)|*.ZX*|Snapshot (*.SNA,*.SZX)|*.SNA,*.SZX|"
                   "Tape Images (*.TAP,*.TZX)|*.TAP,*.TZX|Disk Images (*.DSK,*.TRD,*.SCL)|"
                   "*.DSK,*.TRD,*.SCL|Archives (*.ZIP,*.GZ)|*.ZIP,*.GZ|All files (*.*)|*.*");
inline const QString kMusicFileFilter = QStringLiteral("All files (*.*)|*.*");
inline const QString kLocateImageTitle = QStringLiteral("Locate image");
inline const QString kImageFilter = QStringLiteral(
    "All pictures (*.scr,*.png,*.gif,*.jpg,*.jpeg,*.bmp)|*.scr,*.png,*.gif,*.jpg,*.jpeg,*.bmp|"
    "Windows Bitmap (*.bmp)|*.bmp|Gif (*.gif)|*.gif|Jpeg (*.jpg,*.jpeg)|*.jpg,*.jpeg|"
    "PNG (*.png)|*.png|Speccy SCR file (*.scr)|*.scr");
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
    enum Action {
        ActionPrevious = 0,
        ActionNext = 1,
        ActionAdd = 2,
        ActionRemove = 3,
        ActionClear = 4,
        ActionCount = 5
    };
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
    QLabel *lblScrShots = nullptr;
    QLabel *picScrShot = nullptr;
    QList<QPushButton *> cmdAction; // "<", ">", Add, Remove, Clear
    QLabel *Label6 = nullptr;
    QLineEdit *txtRom = nullptr;
    QPushButton *cmdLocate = nullptr;
    QPushButton *cmdRunTaper = nullptr;
    QLabel *Label7 = nullptr;
    QLineEdit *txtMusicFile = nullptr;
    QPushButton *cmdFindMusic = nullptr;
    QPushButton *cmdFillFromTape = nullptr;
    QPushButton *cmdAddLoadingScreen = nullptr; // the rom file's own screen, as a screenshot
    QLabel *lblFilled = nullptr;              // what the last fill from the tape put into the boxes
    CommandPreview *commandPreview = nullptr; // what Run would start for the rom file typed
    RunTab *runTab = nullptr;                 // the entry's own way to run
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

    // The working copy; its Screenshots is the Images tab's working list.
    const RomRecord &workingRecord() const { return m_working; }
    // The working list split at ",", and the screenshot on show.
    const QStringList &shotList() const { return m_shots; }
    int currentShot() const { return m_current; }

    void Form_Load();
    // Copies `record` into the working record and the controls.
    void ShowEntry(const RomRecord &record);
    // Label, preview and buttons of the Images tab for the current screenshot.
    void ShowScreenshot();

    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdLocate_Click();
    void cmdFindMusic_Click();
    void txtRom_Change();
    void cmdRunTaper_Click();
    void cmdAction_Click(int index);
    void AddScreenshot();
    // Files dropped on the dialog join the working list, as Add does; other files are skipped.
    void Form_OLEDragDrop(const QStringList &paths);
    // Fills the empty boxes from the rom file's tape: its archive info and its first program
    // header. Nothing the user typed is replaced.
    void cmdFillFromTape_Click();
    // Writes the rom file's loading screen as a .scr, as the strip's Keep as screenshot does,
    // into the working list: OK keeps it, Cancel removes the file again.
    void cmdAddLoadingScreen_Click();

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
    void buildImagesTab();
    void buildFilesTab();
    void buildTabOrder();
    void setCaptions();

    // Appends one screenshot name to the working list and its directory to the screenshot paths.
    void appendScreenshot(const QString &path);
    // Says, once per name, that a name with a comma was not added.
    void refuseCommaNames(const QStringList &names);
    // Asks whether to store texts that would lose characters in the file; true to store.
    bool confirmUnkeptCharacters();
    void setShotButtons();
    void showPicture(const QImage &image, const QString &tip);
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
    QStringList m_shots;
    int m_current = 0;
    int m_slot = -1;       // the slot being edited
    LibraryKey m_shownKey; // the library row of the entry as it was shown
    QImage m_placeholder;
    QStringList m_keptScreens; // .scr files written by Add loading screen, until OK
};
