#pragma once

#include "state/AppState.h"
#include "ui/common/Dialogs.h"

#include <QDialog>

class QTableView;
class TapeListModel;

inline const QString kTaperCaption = QStringLiteral("Kivo tape viewer");

// The tape viewer: one row per block of a TZX or TAP image, with its number, description and
// size. Its caller shows it modally with exec(); each opening reads the image afresh.
class frmTaper : public QDialog
{
    Q_OBJECT

public:
    // Reads the image at `path` and lists it before returning (Form_Load).
    frmTaper(AppState &state, Dialogs &dialogs, const QString &path, QWidget *parent = nullptr);

    // A table, not a tree: a tree view keeps an item of its own for every row, which a tape of
    // millions of tiny blocks cannot afford.
    QTableView *lstTaper = nullptr;

    void Form_Load();
    // False when the image was refused (its message already shown): there is nothing to view.
    bool loaded() const { return m_loaded; }
    // Clears lstTaper and lists every block of the tape index.
    void ListTapeBlocks();

private:
    AppState &m_state;
    TapeListModel *m_model = nullptr;
    Dialogs &m_dialogs;
    QString m_path;
    bool m_loaded = false;
};
