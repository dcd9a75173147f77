#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

class Dialogs;
class PictureLoader;
class QLabel;
class QPushButton;
struct AppState;
struct LoadedPicture;
struct RomRecord;

inline const QString kRemoveShotQuestion = QStringLiteral("Remove this screenshot?");
inline const QString kClearShotsQuestion = QStringLiteral("Remove all screenshots?");
inline const QString kLocateImageTitle = QStringLiteral("Locate image");
inline const QString kImageFilter = QStringLiteral(
    "All pictures (*.scr,*.png,*.gif,*.jpg,*.jpeg,*.bmp)|*.scr,*.png,*.gif,*.jpg,*.jpeg,*.bmp|"
    "Windows Bitmap (*.bmp)|*.bmp|Gif (*.gif)|*.gif|Jpeg (*.jpg,*.jpeg)|*.jpg,*.jpeg|"
    "PNG (*.png)|*.png|Speccy SCR file (*.scr)|*.scr");
inline const QString kAddLoadingScreenCaption = QStringLiteral("Add loading screen");

// The properties dialog's Images tab: the entry's working list of screenshots, one of them on
// show, with buttons to step through the list and to add, remove and clear. Nothing reaches the
// catalogue before the dialog's OK; screenshot directories of pictures added join the search
// paths at once, as everywhere else in the program.
class ImagesTab : public QWidget
{
    Q_OBJECT

public:
    // Index of each button of cmdAction.
    enum Action {
        ActionPrevious = 0,
        ActionNext = 1,
        ActionAdd = 2,
        ActionRemove = 3,
        ActionClear = 4,
        ActionCount = 5
    };

    ImagesTab(AppState &state, Dialogs &dialogs, PictureLoader &pictures,
              QWidget *parent = nullptr);

    QLabel *picScrShot = nullptr;
    QLabel *lblScrShots = nullptr;
    QList<QPushButton *> cmdAction;             // "<", ">", Add, Remove, Clear
    QPushButton *cmdAddLoadingScreen = nullptr; // the rom file's own screen, as a screenshot

    void setCaptions();
    void showRecord(const RomRecord &record);
    void readInto(RomRecord &record) const;

    // The working list as the entry's Screenshots holds it, the same split at ",", and the
    // screenshot on show.
    const QString &screenshots() const { return m_screenshots; }
    const QStringList &shotList() const { return m_shots; }
    int currentShot() const { return m_current; }

    // Label, preview and buttons for the current screenshot.
    void ShowScreenshot();
    void cmdAction_Click(int index);
    void AddScreenshot();
    // The pictures among dropped `paths` join the working list, as Add's do, and the last one
    // shows; true when any did.
    bool appendDropped(const QStringList &paths);
    // Writes `screen`, the loading screen of `romFile`, as a .scr, as the strip's Keep as
    // screenshot does, into the working list: the dialog's OK keeps it, removeKeptScreens removes
    // the file again.
    void addLoadingScreen(const QString &romFile, const LoadedPicture &screen);
    // Removes the files addLoadingScreen wrote: the dialog was cancelled.
    void removeKeptScreens();

Q_SIGNALS:
    // Add loading screen was clicked; the rom file is the Files tab's.
    void loadingScreenWanted();

private:
    // Appends one screenshot name to the working list and its directory to the screenshot paths.
    void appendScreenshot(const QString &path);
    // Says, once per name, that a name with a comma was not added.
    void refuseCommaNames(const QStringList &names);
    void setShotButtons();
    void showPicture(const QImage &image, const QString &tip);

    AppState &m_state;
    Dialogs &m_dialogs;
    PictureLoader &m_pictures;
    QString m_screenshots;
    QStringList m_shots;
    int m_current = 0;
    QImage m_placeholder;
    QStringList m_keptScreens; // .scr files written by Add loading screen, until OK
};
