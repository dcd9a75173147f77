#pragma once

#include "core/Message.h"
#include "interchange/ImportKind.h"

#include <QDialog>
#include <QList>
#include <QString>

class CatalogueView;
class Dialogs;
class DirectoryChooser;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTreeView;
struct AppState;
struct ImportProgress;

// The import wizard: the kind of catalogue, its directory, its files, then Merge or Overwrite.
// Done imports and stays on the last page, so it can import again; only Cancel (or the close
// box) ends the dialog. The catalogue is changed in place and the main window redrawn through
// `view`.
class frmImpWiz : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kPageCount = 4;

    frmImpWiz(AppState &state, Dialogs &dialogs, CatalogueView &view, QWidget *parent);

    // Controls, named as the rest of the program and the tests know them.
    QList<QGroupBox *> fraMain;            // one frame per page
    QList<QRadioButton *> optDatabaseType; // SGD, own database, pocket database
    DirectoryChooser *chooser = nullptr;
    QComboBox *Drive1 = nullptr;
    QTreeView *Dir1 = nullptr;
    QLabel *lblDirectoryNote = nullptr; // why Next is disabled on the directory page
    QLabel *lblFiles = nullptr;
    QListWidget *lstFiles = nullptr;
    QList<QRadioButton *> optFinal; // Merge, Overwrite
    QCheckBox *chkSaveDB = nullptr;
    QProgressBar *barProgress = nullptr;
    QLabel *lblResult = nullptr; // what the last Done added
    QPushButton *cmdBack = nullptr;
    QPushButton *cmdNext = nullptr;
    QPushButton *cmdCancel = nullptr;

    int Page() const { return m_page; }
    ImportKind SourceKind() const { return m_kind; }
    // The chosen directory, ending with a separator once the directory page was passed.
    const QString &SourceDirectory() const { return m_sourceDirectory; }

    void cmdBack_Click();
    void cmdNext_Click();
    void cmdCancel_Click();
    void lstFiles_Click();
    void optFinal_Click(int index);

private:
    void buildPages();
    void buildButtons();
    void showPage(int page);
    void checkDirectory();
    void fillFileList();
    void updateSaveFirst();
    bool overwriteChosen() const;
    QStringList selectedFileNames() const;

    void runImport();
    // Saves the catalogue first when chkSaveDB asks for it; false when the import must not run.
    // `messages` receives what the save has to say.
    bool saveFirst(bool &saved, Messages &messages);
    void showProgress(const ImportProgress &progress);

    AppState &m_state;
    Dialogs &m_dialogs;
    CatalogueView &m_view;
    int m_page = 0;
    ImportKind m_kind = ImportKind::Sgd;
    QString m_sourceDirectory;
    QString m_listed; // the kind and directory lstFiles was last filled from
    bool m_importing = false;
};
