#pragma once

#include <QDialog>
#include <QString>

class Dialogs;
class DirectoryChooser;
class QComboBox;
class QPushButton;
class QTreeView;
struct LanguageTable;

// Lets the user pick a directory on any drive. OK gives the opened directory, ending with a
// separator, in LocatedPath(); Cancel leaves it empty.
class frmFindRomPath : public QDialog
{
    Q_OBJECT

public:
    frmFindRomPath(const LanguageTable &language, Dialogs &dialogs, const QString &startDirectory,
                   QWidget *parent);

    DirectoryChooser *chooser = nullptr;
    QComboBox *Drive1 = nullptr;
    QTreeView *Dir1 = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

    const QString &LocatedPath() const { return m_locatedPath; }

    void cmdOK_Click();
    void cmdCancel_Click();

private:
    QString m_locatedPath;
};
