#include "ui/import/frmImpWiz.h"

#include "core/DatFile.h"
#include "core/PathText.h"
#include "interchange/ImportFiles.h"
#include "interchange/ImportRun.h"
#include "state/AppState.h"
#include "ui/common/BusyCursor.h"
#include "ui/common/CatalogueView.h"
#include "ui/common/Dialogs.h"
#include "ui/common/DirectoryChooser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

const QString kImportTitle = QStringLiteral("Import");
const QString kTypeFrameCaption = QStringLiteral("Select Database Type");
const QString kFilesFrameCaption = QStringLiteral("Select Files");
const QString kFilesLabel = QStringLiteral("Select the files to import");
const QString kFinalFrameCaption = QStringLiteral("Final Options");
const QString kSaveFirstCaption = QStringLiteral("Save current DB before overwriting");
const QString kBackCaption = QStringLiteral("&Back");
const QString kNextCaption = QStringLiteral("&Next");
const QString kDoneCaption = QStringLiteral("&Done");
const QString kCancelCaption = QStringLiteral("&Cancel");
const QString kSaveDialogTitle = QStringLiteral("Save Database");

const char *const kTypeCaptions[] = {"SGD (Spectrum Games Database)", "Kivo database",
                                     "Kivo ppc database"};
const char *const kFinalCaptions[] = {"Merge with Current DB", "Overwrite Current DB"};

constexpr int kMerge = 0;
constexpr int kOverwrite = 1;
constexpr int kProgressSteps = 1000;
constexpr int kFileNameRole = Qt::UserRole;

struct KindCaptions
{
    QString window;
    QString frame;
    QString unfit; // shown under the tree while Next is disabled
};

KindCaptions captionsOf(ImportKind kind)
{
    switch (kind) {
    case ImportKind::Sgd:
        return {QStringLiteral("Import SGD database(s)"), QStringLiteral("Select SGD Directory"),
                QStringLiteral("This directory holds no sgd.ini with .dat files.")};
    case ImportKind::Own:
        return {QStringLiteral("Import Kivo database(s)"), QStringLiteral("Select Directory"),
                QStringLiteral("This directory holds no .dat files.")};
    case ImportKind::Pocket:
        return {QStringLiteral("Import Kivo ppc database(s)"), QStringLiteral("Select Directory"),
                QStringLiteral("This directory holds no .kvl files.")};
    }
    return {};
}

QString listedKey(ImportKind kind, const QString &directory)
{
    return QString::number(int(kind)) + u'|' + directory;
}

} // namespace

frmImpWiz::frmImpWiz(AppState &state, Dialogs &dialogs, CatalogueView &view, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_dialogs(dialogs)
    , m_view(view)
{
    setObjectName(QStringLiteral("frmImpWiz"));
    setModal(true);
    buildPages();
    buildButtons();

    auto *layout = new QVBoxLayout(this);
    for (QGroupBox *frame : std::as_const(fraMain))
        layout->addWidget(frame, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdBack);
    buttons->addWidget(cmdNext);
    buttons->addSpacing(12);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);

    setTabOrder(optDatabaseType[0], optDatabaseType[1]);
    setTabOrder(optDatabaseType[1], optDatabaseType[2]);
    setTabOrder(optDatabaseType[2], Drive1);
    setTabOrder(Drive1, Dir1);
    setTabOrder(Dir1, lstFiles);
    setTabOrder(lstFiles, optFinal[kMerge]);
    setTabOrder(optFinal[kMerge], optFinal[kOverwrite]);
    setTabOrder(optFinal[kOverwrite], chkSaveDB);
    setTabOrder(chkSaveDB, cmdBack);
    setTabOrder(cmdBack, cmdNext);
    setTabOrder(cmdNext, cmdCancel);

    setMinimumSize(440, 380);
    resize(500, 440);

    // Start where the current catalogue lives; a directory that has gone falls back to one
    // that is always there.
    const QString last = m_state.database.LastDatabase;
    if ((last.isEmpty() || !chooser->start(directoryPart(last))) &&
        !chooser->start(QDir::homePath()))
        chooser->start(QDir::rootPath());

    showPage(0);
}

void frmImpWiz::buildPages()
{
    for (int page = 0; page < kPageCount; ++page) {
        auto *frame = new QGroupBox(this);
        frame->setObjectName(QStringLiteral("fraMain%1").arg(page));
        fraMain.append(frame);
    }

    fraMain[0]->setTitle(kTypeFrameCaption);
    auto *typeLayout = new QVBoxLayout(fraMain[0]);
    for (int kind = 0; kind < 3; ++kind) {
        auto *option = new QRadioButton(QLatin1String(kTypeCaptions[kind]), fraMain[0]);
        option->setObjectName(QStringLiteral("optDatabaseType%1").arg(kind));
        typeLayout->addWidget(option);
        optDatabaseType.append(option);
    }
    typeLayout->addStretch();
    optDatabaseType[0]->setChecked(true);

    auto *directoryLayout = new QVBoxLayout(fraMain[1]);
    chooser = new DirectoryChooser(m_dialogs, fraMain[1]);
    chooser->setObjectName(QStringLiteral("chooser"));
    Drive1 = chooser->Drive1;
    Dir1 = chooser->Dir1;
    lblDirectoryNote = new QLabel(fraMain[1]);
    lblDirectoryNote->setObjectName(QStringLiteral("lblDirectoryNote"));
    lblDirectoryNote->setWordWrap(true);
    directoryLayout->addWidget(chooser, 1);
    directoryLayout->addWidget(lblDirectoryNote);
    connect(chooser, &DirectoryChooser::pathChanged, this, [this] { checkDirectory(); });

    fraMain[2]->setTitle(kFilesFrameCaption);
    auto *filesLayout = new QVBoxLayout(fraMain[2]);
    lblFiles = new QLabel(kFilesLabel, fraMain[2]);
    lblFiles->setObjectName(QStringLiteral("lblFiles"));
    lstFiles = new QListWidget(fraMain[2]);
    lstFiles->setObjectName(QStringLiteral("lstFiles"));
    // A click picks or drops one file, so several are chosen without modifier keys.
    lstFiles->setSelectionMode(QAbstractItemView::MultiSelection);
    lstFiles->setUniformItemSizes(true);
    lblFiles->setBuddy(lstFiles);
    filesLayout->addWidget(lblFiles);
    filesLayout->addWidget(lstFiles, 1);
    connect(lstFiles, &QListWidget::itemSelectionChanged, this, [this] { lstFiles_Click(); });

    fraMain[3]->setTitle(kFinalFrameCaption);
    auto *finalLayout = new QVBoxLayout(fraMain[3]);
    for (int choice = 0; choice < 2; ++choice) {
        auto *option = new QRadioButton(QLatin1String(kFinalCaptions[choice]), fraMain[3]);
        option->setObjectName(QStringLiteral("optFinal%1").arg(choice));
        finalLayout->addWidget(option);
        optFinal.append(option);
        connect(option, &QRadioButton::toggled, this, [this, choice](bool checked) {
            if (checked)
                optFinal_Click(choice);
        });
    }
    chkSaveDB = new QCheckBox(kSaveFirstCaption, fraMain[3]);
    chkSaveDB->setObjectName(QStringLiteral("chkSaveDB"));
    auto *saveRow = new QHBoxLayout;
    saveRow->addSpacing(20); // it belongs to Overwrite
    saveRow->addWidget(chkSaveDB, 1);
    finalLayout->addLayout(saveRow);
    finalLayout->addStretch();
    barProgress = new QProgressBar(fraMain[3]);
    barProgress->setObjectName(QStringLiteral("barProgress"));
    barProgress->setRange(0, kProgressSteps);
    barProgress->setValue(0);
    barProgress->setTextVisible(false); // no "0%" before anything was imported
    lblResult = new QLabel(fraMain[3]);
    lblResult->setObjectName(QStringLiteral("lblResult"));
    finalLayout->addWidget(barProgress);
    finalLayout->addWidget(lblResult);
    // The safe choice first; ticked, so an overwrite offers to keep what it replaces.
    chkSaveDB->setChecked(true);
    optFinal[kMerge]->setChecked(true);
}

void frmImpWiz::buildButtons()
{
    cmdBack = new QPushButton(kBackCaption, this);
    cmdBack->setObjectName(QStringLiteral("cmdBack"));
    cmdNext = new QPushButton(kNextCaption, this);
    cmdNext->setObjectName(QStringLiteral("cmdNext"));
    cmdCancel = new QPushButton(kCancelCaption, this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    // Enter means Next (or Done) unless another button has the focus.
    cmdNext->setDefault(true);
    connect(cmdBack, &QPushButton::clicked, this, [this] { cmdBack_Click(); });
    connect(cmdNext, &QPushButton::clicked, this, [this] { cmdNext_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

void frmImpWiz::showPage(int page)
{
    m_page = page;
    for (int i = 0; i < kPageCount; ++i)
        fraMain[i]->setVisible(i == page);
    cmdBack->setVisible(page > 0);
    cmdNext->setText(page == kPageCount - 1 ? kDoneCaption : kNextCaption);
    cmdNext->setEnabled(true);

    QWidget *focus = cmdNext;
    switch (page) {
    case 0:
        setWindowTitle(kImportTitle);
        focus = optDatabaseType[int(m_kind)];
        break;
    case 1: {
        const KindCaptions captions = captionsOf(m_kind);
        setWindowTitle(captions.window);
        fraMain[1]->setTitle(captions.frame);
        checkDirectory();
        focus = Dir1;
        break;
    }
    case 2:
        fillFileList();
        focus = lstFiles;
        break;
    case 3:
        updateSaveFirst();
        focus = overwriteChosen() ? optFinal[kOverwrite] : optFinal[kMerge];
        break;
    default:
        break;
    }
    focus->setFocus();
}

void frmImpWiz::checkDirectory()
{
    if (m_page != 1)
        return;
    const QString directory = chooser->path();
    const bool fits = !directory.isEmpty() && importDirectoryFits(m_kind, directory);
    cmdNext->setEnabled(fits);
    lblDirectoryNote->setText(fits || directory.isEmpty() ? QString() : captionsOf(m_kind).unfit);
}

void frmImpWiz::fillFileList()
{
    // Coming back from the last page to the same directory keeps the files chosen there.
    const QString key = listedKey(m_kind, m_sourceDirectory);
    const QStringList chosen = key == m_listed ? selectedFileNames() : QStringList();
    {
        const QSignalBlocker blocker(lstFiles);
        lstFiles->clear();
        for (const ImportFileRow &row : listImportFiles(m_kind, m_sourceDirectory)) {
            auto *item = new QListWidgetItem(row.text(), lstFiles);
            item->setData(kFileNameRole, row.fileName);
            item->setSelected(chosen.contains(row.fileName));
        }
    }
    m_listed = key;
    lstFiles_Click();
}

void frmImpWiz::lstFiles_Click()
{
    if (m_page == 2)
        cmdNext->setEnabled(!lstFiles->selectedItems().isEmpty());
}

QStringList frmImpWiz::selectedFileNames() const
{
    QStringList names;
    for (int row = 0; row < lstFiles->count(); ++row) {
        const QListWidgetItem *item = lstFiles->item(row);
        if (item->isSelected())
            names.append(item->data(kFileNameRole).toString());
    }
    return names;
}

bool frmImpWiz::overwriteChosen() const
{
    return optFinal[kOverwrite]->isChecked();
}

void frmImpWiz::optFinal_Click(int index)
{
    Q_UNUSED(index);
    updateSaveFirst();
}

void frmImpWiz::updateSaveFirst()
{
    chkSaveDB->setEnabled(saveFirstEnabled(overwriteChosen(), m_state.database));
}

void frmImpWiz::cmdBack_Click()
{
    if (m_page > 0)
        showPage(m_page - 1);
}

void frmImpWiz::cmdNext_Click()
{
    if (!cmdNext->isEnabled())
        return;
    switch (m_page) {
    case 0:
        for (int kind = 0; kind < optDatabaseType.size(); ++kind) {
            if (optDatabaseType[kind]->isChecked())
                m_kind = ImportKind(kind);
        }
        showPage(1);
        break;
    case 1:
        m_sourceDirectory = importSourceDirectory(chooser->path());
        showPage(2);
        break;
    case 2:
        showPage(3);
        break;
    case 3:
        runImport();
        break;
    default:
        break;
    }
}

void frmImpWiz::cmdCancel_Click()
{
    reject();
}

bool frmImpWiz::saveFirst(bool &saved, Messages &messages)
{
    saved = false;
    if (!chkSaveDB->isChecked() || !chkSaveDB->isEnabled())
        return true;
    const QString path =
        m_dialogs.saveFile(this, {kSaveDialogTitle, kDatabaseFilter, m_state.database.LastDatabase,
                                  QStringLiteral("dat")});
    const SaveFirstResult result = saveBeforeOverwrite(m_state.database, path);
    messages += result.messages;
    saved = result.saved;
    return result.proceed;
}

void frmImpWiz::runImport()
{
    if (m_importing)
        return;
    Messages messages;
    bool saved = false;
    if (!saveFirst(saved, messages)) {
        // Nothing was replaced: the catalogue and its file are as they were.
        for (const Message &message : std::as_const(messages))
            m_dialogs.show(this, message);
        return;
    }

    ImportRequest request;
    request.kind = m_kind;
    request.directory = m_sourceDirectory;
    request.fileNames = selectedFileNames();
    request.overwrite = overwriteChosen();
    ImportSummary summary;
    {
        m_importing = true;
        BusyCursor busy;
        // Only the bar is repainted while the catalogue changes: the list behind the wizard
        // must not draw rows that are being replaced, and no click may start a second import.
        barProgress->setValue(0);
        barProgress->setTextVisible(true);
        summary = ::runImport(m_state.database, m_state.paths, request,
                              [this](const ImportProgress &progress) { showProgress(progress); });
        m_importing = false;
    }

    // The catalogue replaced (or emptied by the save) is no longer the contents of any file.
    if (saved || summary.replaced) {
        m_state.boundDatabase.clear();
        m_view.clearSelection();
    }
    m_view.RefillGameList();
    m_view.ArrangePanes();
    if (m_view.listedRows() > 0)
        m_view.lstClick();
    const QString status = summary.statusText();
    m_view.showStatus(status);
    lblResult->setText(status);
    updateSaveFirst();

    messages += summary.messages;
    for (const Message &message : std::as_const(messages))
        m_dialogs.show(this, message);
}

void frmImpWiz::showProgress(const ImportProgress &progress)
{
    if (progress.files <= 0)
        return;
    qint64 withinFile = 0;
    if (progress.records > 0)
        withinFile =
            std::min<qint64>(progress.record, progress.records) * kProgressSteps / progress.records;
    const qint64 value = (qint64(progress.file) * kProgressSteps + withinFile) / progress.files;
    barProgress->setFormat(progress.fileName.isEmpty()
                               ? QStringLiteral("%p%")
                               : progress.fileName + QStringLiteral(" - %p%"));
    barProgress->setValue(int(std::min<qint64>(value, kProgressSteps)));
    barProgress->repaint();
}
