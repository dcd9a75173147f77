#pragma once

#include <QDialog>
#include <QStringList>

class Dialogs;
class QPushButton;
class QTreeWidget;

inline const QString kDatFilesTitle = QStringLiteral("DAT Files");
inline const QString kAddDatTitle = QStringLiteral("Add a DAT file");
inline const QString kDatFileFilter =
    QStringLiteral("DAT files (*.dat,*.xml)|*.dat,*.xml|All files (*.*)|*.*");

// Misc > DAT Files: the DAT files entries are identified with, each with its name, version and
// number of games. A file added is read at once, and one that is no DAT is refused with the
// reason; OK keeps the list.
class frmDatFiles : public QDialog
{
    Q_OBJECT

public:
    frmDatFiles(Dialogs &dialogs, const QStringList &files, QWidget *parent = nullptr);

    QTreeWidget *lstDatFiles = nullptr;
    QPushButton *cmdAdd = nullptr;
    QPushButton *cmdRemove = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

    QStringList files() const;

    void cmdAdd_Click();
    // Adds `path` with what reading it says; false, after saying why, when it is no DAT.
    bool addFile(const QString &path, bool tellRefusal);
    void cmdRemove_Click();

private:
    Dialogs &m_dialogs;
};
