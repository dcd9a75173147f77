#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
struct AppState;
struct RomRecord;
struct TapeCard;

// The properties dialog's Details tab: the entry's name, type, year, publisher and authors.
class DetailsTab : public QWidget
{
    Q_OBJECT

public:
    explicit DetailsTab(const AppState &state, QWidget *parent = nullptr);

    QLabel *Label1 = nullptr;
    QLineEdit *txtGameName = nullptr;
    QLabel *Label2 = nullptr;
    QListWidget *lstType = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *txtYear = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *txtPublisher = nullptr;
    QLabel *Label5 = nullptr;
    QLineEdit *txtAuthors = nullptr;

    void setCaptions();
    // The game-type table's names, in index order.
    void listTypes();
    void showRecord(const RomRecord &record);
    void readInto(RomRecord &record) const;
    // Brings the selected type into the middle of the list.
    void centreType();
    // Fills the empty boxes from `card`; a name that is still `droppedName`, the one a drop gave
    // the entry, counts as empty. Returns the captions of the boxes filled.
    QStringList fillEmptyBoxes(const TapeCard &card, const QString &droppedName);

private:
    const AppState &m_state;
};
