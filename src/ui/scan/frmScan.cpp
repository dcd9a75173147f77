#include "ui/scan/frmScan.h"

#include "scan/DatCatalogue.h"
#include "state/AppState.h"
#include "ui/common/CatalogueView.h"
#include "ui/common/Dialogs.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>

namespace {

const QString kDialogTitle = QStringLiteral("Scan Folder");
const QString kFolderLabel = QStringLiteral("Folder:");
const QString kBrowseCaption = QStringLiteral("...");
const QString kSubfoldersCaption = QStringLiteral("Include subfolders");
const QString kDatsLabel = QStringLiteral("Identify with DAT files");
const QString kAddCaption = QStringLiteral("Add");
const QString kRemoveCaption = QStringLiteral("Remove");
const QString kScreensLabel = QStringLiteral("Keep loading screens as screenshots in");
const QString kStartCaption = QStringLiteral("Start");
const QString kCancelCaption = QStringLiteral("Cancel");
const QString kProgressText = QStringLiteral("%1 files seen, %2 entries found");
constexpr qint64 kProgressInterval = 50; // ms between two progress posts, at least

} // namespace

frmScan::frmScan(AppState &state, Dialogs &dialogs, CatalogueView &view, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_dialogs(dialogs)
    , m_view(view)
{
    setObjectName(QStringLiteral("frmScan"));
    setWindowTitle(kDialogTitle);
    buildLayout();
    // The DAT files kept for identifying start ticked; one added here is used for this scan.
    for (const QString &path : m_state.dats.files())
        addDat(path);
    connect(cmdFolder, &QPushButton::clicked, this, &frmScan::cmdFolder_Click);
    connect(cmdAddDat, &QPushButton::clicked, this, &frmScan::cmdAddDat_Click);
    connect(cmdRemoveDat, &QPushButton::clicked, this, &frmScan::cmdRemoveDat_Click);
    connect(cmdScreens, &QPushButton::clicked, this, &frmScan::cmdScreens_Click);
    connect(cmdStart, &QPushButton::clicked, this, &frmScan::cmdStart_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmScan::cmdCancel_Click);
    connect(lstDats, &QListWidget::currentRowChanged, this,
            [this](int row) { cmdRemoveDat->setEnabled(row >= 0 && !isScanning()); });
}

frmScan::~frmScan()
{
    stopWorker();
}

void frmScan::buildLayout()
{
    auto named = [this](auto *widget, const char *name) {
        widget->setObjectName(QLatin1String(name));
        return widget;
    };
    txtFolder = named(new QLineEdit(this), "txtFolder");
    cmdFolder = named(new QPushButton(kBrowseCaption, this), "cmdFolder");
    chkSubfolders = named(new QCheckBox(kSubfoldersCaption, this), "chkSubfolders");
    chkSubfolders->setChecked(true);
    lstDats = named(new QListWidget(this), "lstDats");
    cmdAddDat = named(new QPushButton(kAddCaption, this), "cmdAddDat");
    cmdRemoveDat = named(new QPushButton(kRemoveCaption, this), "cmdRemoveDat");
    cmdRemoveDat->setEnabled(false);
    txtScreens = named(new QLineEdit(this), "txtScreens");
    cmdScreens = named(new QPushButton(kBrowseCaption, this), "cmdScreens");
    prgScan = named(new QProgressBar(this), "prgScan");
    prgScan->setRange(0, 1);
    prgScan->setValue(0);
    prgScan->setTextVisible(false);
    lblProgress = named(new QLabel(this), "lblProgress");
    cmdStart = named(new QPushButton(kStartCaption, this), "cmdStart");
    cmdStart->setDefault(true);
    cmdCancel = named(new QPushButton(kCancelCaption, this), "cmdCancel");

    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(kFolderLabel, this), 0, 0);
    grid->addWidget(txtFolder, 0, 1);
    grid->addWidget(cmdFolder, 0, 2);
    grid->addWidget(chkSubfolders, 1, 1);
    grid->addWidget(new QLabel(kDatsLabel, this), 2, 0, 1, 3);
    grid->addWidget(lstDats, 3, 0, 2, 2);
    grid->addWidget(cmdAddDat, 3, 2);
    grid->addWidget(cmdRemoveDat, 4, 2, Qt::AlignTop);
    grid->addWidget(new QLabel(kScreensLabel, this), 5, 0, 1, 3);
    grid->addWidget(txtScreens, 6, 0, 1, 2);
    grid->addWidget(cmdScreens, 6, 2);
    grid->addWidget(prgScan, 7, 0, 1, 3);
    grid->addWidget(lblProgress, 8, 0, 1, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdStart);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, 9, 0, 1, 3);
    lstDats->setMaximumHeight(fontMetrics().height() * 5);
    resize(520, sizeHint().height());
}

void frmScan::cmdFolder_Click()
{
    const QString chosen = m_dialogs.chooseDirectory(this, kScanFolderTitle, txtFolder->text());
    if (!chosen.isEmpty())
        txtFolder->setText(QDir::toNativeSeparators(chosen));
}

void frmScan::cmdAddDat_Click()
{
    const QString chosen =
        m_dialogs.openFile(this, Dialogs::FileRequest{kScanDatTitle, kScanDatFilter, {}, {}});
    if (!chosen.isEmpty())
        addDat(chosen);
}

void frmScan::addDat(const QString &path)
{
    const QString native = QDir::toNativeSeparators(path);
    if (!lstDats->findItems(native, Qt::MatchExactly).isEmpty())
        return;
    auto *item = new QListWidgetItem(native, lstDats);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Checked);
}

void frmScan::cmdRemoveDat_Click()
{
    delete lstDats->takeItem(lstDats->currentRow());
}

void frmScan::cmdScreens_Click()
{
    const QString chosen = m_dialogs.chooseDirectory(this, kScanScreensTitle, txtScreens->text());
    if (!chosen.isEmpty())
        txtScreens->setText(QDir::toNativeSeparators(chosen));
}

void frmScan::setEditable(bool editable)
{
    const QList<QWidget *> inputs = {txtFolder, cmdFolder,  chkSubfolders, lstDats,
                                     cmdAddDat, txtScreens, cmdScreens,    cmdStart};
    for (QWidget *widget : inputs)
        widget->setEnabled(editable);
    cmdRemoveDat->setEnabled(editable && lstDats->currentRow() >= 0);
}

void frmScan::cmdStart_Click()
{
    if (isScanning())
        return;
    const QString folder = txtFolder->text().trimmed();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        m_dialogs.show(this, Message{kScanNoFolderText, kScanTitle, MessageIcon::Exclamation});
        return;
    }
    ScanRequest request;
    request.directory = folder;
    request.subfolders = chkSubfolders->isChecked();
    // The kept DAT files ticked are read once per run, by the shelf; any others, here.
    QStringList ticked;
    for (int row = 0; row < lstDats->count(); ++row) {
        if (lstDats->item(row)->checkState() == Qt::Checked)
            ticked.append(lstDats->item(row)->text());
    }
    const QStringList &kept = m_state.dats.files();
    if (!kept.isEmpty() && std::all_of(kept.begin(), kept.end(), [&](const QString &path) {
            return ticked.contains(QDir::toNativeSeparators(path));
        })) {
        request.readDats = [reading = m_state.dats.reading()] { return reading.get().catalogue; };
        for (const QString &path : kept)
            ticked.removeOne(QDir::toNativeSeparators(path));
    }
    request.datFiles = ticked;
    request.screensDirectory = txtScreens->text().trimmed();
    request.catalogueFiles = catalogueFileNames(m_state.database);

    m_cancel = false;
    m_progress = ScanProgress{};
    m_lastPost = 0;
    setEditable(false);
    prgScan->setRange(0, 0); // how many files there are is not known before the walk ends
    showProgress();
    m_worker = QThread::create([this, request = std::move(request)] {
        m_result = scanCollection(
            request, [this](const ScanProgress &progress) { reportProgress(progress); }, &m_cancel);
    });
    // finished is emitted by the worker: queued, this runs on the interface thread.
    connect(m_worker, &QThread::finished, this, &frmScan::finishScan, Qt::QueuedConnection);
    m_worker->start();
}

void frmScan::reportProgress(const ScanProgress &progress)
{
    {
        QMutexLocker lock(&m_progressLock);
        m_progress = progress;
    }
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (now - m_lastPost < kProgressInterval || m_progressPosted.exchange(true))
        return;
    m_lastPost = now;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_progressPosted = false;
            showProgress();
        },
        Qt::QueuedConnection);
}

void frmScan::showProgress()
{
    QMutexLocker lock(&m_progressLock);
    lblProgress->setText(kProgressText.arg(m_progress.filesSeen).arg(m_progress.entriesFound));
}

void frmScan::finishScan()
{
    if (m_worker == nullptr)
        return;
    m_worker->wait(); // it has finished: this only joins it
    delete m_worker;
    m_worker = nullptr;
    showProgress();
    prgScan->setRange(0, 1);
    prgScan->setValue(1);
    // Cancel pressed after the walk ended but before this ran still adds nothing.
    if (m_cancel || m_result.cancelled) {
        discardScreens();
        QDialog::reject();
        return;
    }
    mergeScanResult(m_state.database, m_state.paths, m_result);
    m_view.RefillGameList();
    m_view.showStatus(m_result.statusText());
    for (const Message &message : m_result.messages + m_state.dats.takeMessages())
        m_dialogs.show(this, message);
    QString summary = m_result.statusText();
    if (!m_result.clashPaths.isEmpty())
        summary += kCrLf + kCrLf + kScanClashesText + kCrLf + m_result.clashPaths.join(kCrLf);
    m_dialogs.show(this, Message{summary, kScanTitle, MessageIcon::Information});
    accept();
}

void frmScan::cmdCancel_Click()
{
    if (isScanning())
        m_cancel = true; // the worker stops at the next file; finishScan closes the dialog
    else
        QDialog::reject();
}

void frmScan::reject()
{
    // Escape while scanning is Cancel; the dialog closes once the worker has stopped.
    cmdCancel_Click();
}

void frmScan::closeEvent(QCloseEvent *event)
{
    stopWorker();
    QDialog::closeEvent(event);
}

void frmScan::stopWorker()
{
    if (m_worker == nullptr)
        return;
    m_cancel = true;
    m_worker->wait(); // checks the flag before every file: not long
    delete m_worker;
    m_worker = nullptr;
    discardScreens();
}

// A walk that ended before Cancel reached it has kept its screens: they go with its entries.
void frmScan::discardScreens()
{
    for (const RomRecord &record : std::as_const(m_result.entries)) {
        if (!record.Screenshots.isEmpty())
            QFile::remove(m_result.screensDirectory + record.Screenshots);
    }
}
