#pragma once

#include "scan/CollectionScan.h"

#include <QDialog>
#include <QMutex>

#include <atomic>

class CatalogueView;
class Dialogs;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QThread;
struct AppState;

inline const QString kScanFolderTitle = QStringLiteral("Choose the folder to scan");
inline const QString kScanScreensTitle = QStringLiteral("Choose where loading screens are kept");
inline const QString kScanDatTitle = QStringLiteral("Add a DAT file");
inline const QString kScanDatFilter =
    QStringLiteral("DAT files (*.dat,*.xml)|*.dat,*.xml|All files (*.*)|*.*");
inline const QString kScanNoFolderText = QStringLiteral("Choose a folder to scan.");
inline const QString kScanClashesText = QStringLiteral("Left out, another file has the name:");

// Misc > Scan Folder: a directory tree becomes catalogue entries. The walk runs on a worker
// thread; the catalogue is changed once, on the interface thread, when it has finished.
class frmScan : public QDialog
{
    Q_OBJECT

public:
    frmScan(AppState &state, Dialogs &dialogs, CatalogueView &view, QWidget *parent = nullptr);
    // A scan still running is cancelled and waited for.
    ~frmScan() override;

    QLineEdit *txtFolder = nullptr;
    QPushButton *cmdFolder = nullptr; // "..."
    QCheckBox *chkSubfolders = nullptr;
    QListWidget *lstDats = nullptr;
    QPushButton *cmdAddDat = nullptr;
    QPushButton *cmdRemoveDat = nullptr;
    QLineEdit *txtScreens = nullptr;
    QPushButton *cmdScreens = nullptr; // "..."
    QProgressBar *prgScan = nullptr;
    QLabel *lblProgress = nullptr; // files seen, entries found
    QPushButton *cmdStart = nullptr;
    QPushButton *cmdCancel = nullptr;

    bool isScanning() const { return m_worker != nullptr; }

    void cmdFolder_Click();
    void cmdAddDat_Click();
    void cmdRemoveDat_Click();
    void cmdScreens_Click();
    void cmdStart_Click();
    // Stops a running scan, which then closes the dialog with nothing added; otherwise closes.
    void cmdCancel_Click();

    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildLayout();
    // A DAT file listed and ticked, unless it is listed already.
    void addDat(const QString &path);
    void setEditable(bool editable);
    // On the worker thread: keeps the latest figures and posts them at most every 50 ms.
    void reportProgress(const ScanProgress &progress);
    void showProgress();
    void finishScan();
    void stopWorker();
    void discardScreens();

    AppState &m_state;
    Dialogs &m_dialogs;
    CatalogueView &m_view;
    QThread *m_worker = nullptr;
    std::atomic<bool> m_cancel = false;
    std::atomic<bool> m_progressPosted = false;
    QMutex m_progressLock;
    ScanProgress m_progress; // under m_progressLock
    qint64 m_lastPost = 0;   // worker thread only: ms of the last post
    ScanResult m_result;     // written by the worker, read once it has finished
};
