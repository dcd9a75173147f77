#pragma once

#include "tape/TapeCard.h"

#include <QString>
#include <QStringList>
#include <QWidget>

class CommandPreview;
class Dialogs;
class PictureLoader;
class QLabel;
class QLineEdit;
class QPushButton;
struct AppState;
struct LoadedPicture;
struct RomRecord;

inline const QString kRomNotFoundMessage =
    QStringLiteral("Unable to find rom. Please check the paths");
inline const QString kRomNotFoundTitle = QStringLiteral("ROM not found");
inline const QString kSelectFileTitle = QStringLiteral("Select File");
inline const QString kRomFileFilter =
    QStringLiteral("Z80 (*.Z80)|*.Z80|ZX Riff (*.ZX*)|*.ZX*|Snapshot (*.SNA,*.SZX)|*.SNA,*.SZX|"
                   "Tape Images (*.TAP,*.TZX)|*.TAP,*.TZX|Disk Images (*.DSK,*.TRD,*.SCL)|"
                   "*.DSK,*.TRD,*.SCL|Archives (*.ZIP,*.GZ)|*.ZIP,*.GZ|All files (*.*)|*.*");
inline const QString kMusicFileFilter = QStringLiteral("All files (*.*)|*.*");
inline const QString kFillFromTapeCaption = QStringLiteral("Fill from tape");
inline const QString kMatchedText = QStringLiteral("Matched: %1, %2");

// The properties dialog's Files tab: the entry's rom file and audio file, the tape's blocks, the
// fill from the tape, and what Run would start. Rom and music directories chosen in its file
// dialogs join the search paths at once.
class FilesTab : public QWidget
{
    Q_OBJECT

public:
    FilesTab(AppState &state, Dialogs &dialogs, PictureLoader &pictures, QWidget *parent = nullptr);

    QLabel *Label6 = nullptr;
    QLineEdit *txtRom = nullptr;
    QPushButton *cmdLocate = nullptr;
    QPushButton *cmdRunTaper = nullptr;
    QPushButton *cmdFillFromTape = nullptr;
    QLabel *lblFilled = nullptr; // what the last fill from the tape put into the boxes
    QLabel *Label7 = nullptr;
    QLineEdit *txtMusicFile = nullptr;
    QPushButton *cmdFindMusic = nullptr;
    CommandPreview *commandPreview = nullptr; // what Run would start for the rom file typed
    QLabel *lblMatched = nullptr;             // the game of a kept DAT file the rom file is, if any

    void setCaptions();
    void showRecord(const RomRecord &record);
    void readInto(RomRecord &record) const;

    void cmdLocate_Click();
    void cmdFindMusic_Click();
    void txtRom_Change();
    void cmdRunTaper_Click();
    // Reads the rom file's tape for the boxes to be filled from; a tape that cannot be read is
    // reported.
    void cmdFillFromTape_Click();
    // Says which boxes the fill from the tape filled, by their captions.
    void showFilled(const QStringList &captions);

    // The full path of the rom file if the rom paths find it; empty otherwise.
    QString foundRomFile() const;
    // The rom file's loading screen, when the rom paths find the file and it holds one.
    LoadedPicture foundLoadingScreen() const;
    // Blocks and Fill from tape, for a tape or an archive holding one; the DAT match.
    void updateTapeButtons();
    void showMatch();

Q_SIGNALS:
    // The rom file typed changed; the tab's own buttons follow it already.
    void romFileEdited();
    // The rom file is looked up again: what it holds, or whether it is found, may have changed.
    void romFileLookedUp();
    // Fill from tape read `card` from the rom file's tape; `droppedName` is the name a drop of
    // the file gives an entry, which the tape's name may replace.
    void tapeCardRead(const TapeCard &card, const QString &droppedName);

private:
    AppState &m_state;
    Dialogs &m_dialogs;
    PictureLoader &m_pictures;
};
