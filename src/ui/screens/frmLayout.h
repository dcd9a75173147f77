#pragma once

#include <QDialog>
#include <QList>

class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;
struct AppState;

// The view dialog: the seven arrangements of list, details and screenshots as pictures to pick,
// and the two screenshot sizes. OK leaves the choice in the layout state; the main window then
// lays itself out again. Cancel changes nothing.
class frmLayout : public QDialog
{
    Q_OBJECT

public:
    frmLayout(AppState &state, QWidget *parent = nullptr);

    QList<QRadioButton *> optScrSize; // 0 full size, 1 half size
    QList<QLabel *> picViewType;      // the seven views
    QFrame *shpViewSelect = nullptr;  // the frame around the chosen view
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

    // The view the dialog has chosen so far.
    int selectedView() const { return m_selectedView; }

    void Form_Load();
    void picViewType_Click(int index);
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    AppState &m_state;
    int m_selectedView = 0;
};
