#include "ui/common/DirectoryChooser.h"

#include "core/DriveType.h"
#include "core/Message.h"
#include "ui/common/Dialogs.h"
#include "ui/common/DriveIcons.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

const QString kDriveErrorTitle = QStringLiteral("Drive Error");
const QString kPathBoxHint = QStringLiteral("Type or paste a folder, then press Enter");
const QString kNoDriveHolds = QStringLiteral("No drive offered here holds [%1]");

bool isUnderDirectory(const QString &path, const QString &directory)
{
    if (directory == u"/")
        return path.startsWith(u'/');
    return path == directory || path.startsWith(directory + u'/');
}

} // namespace

DirectoryChooser::DirectoryChooser(Dialogs &dialogs, QWidget *parent)
    : QWidget(parent)
    , m_dialogs(dialogs)
{
    Drive1 = new QComboBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Drive1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Drive1->setMinimumContentsLength(16);

    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::Dirs | QDir::NoDotAndDotDot);
    m_model->setReadOnly(true);

    Dir1 = new QTreeView(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setModel(m_model);
    Dir1->setHeaderHidden(true);
    for (int column = 1; column < m_model->columnCount(); ++column)
        Dir1->hideColumn(column);
    Dir1->setUniformRowHeights(true);
    Dir1->installEventFilter(this);

    lblPath = new QLabel(this);
    lblPath->setObjectName(QStringLiteral("lblPath"));
    lblPath->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    lblPath->setTextInteractionFlags(Qt::TextSelectableByMouse);

    txtPath = new QLineEdit(this);
    txtPath->setObjectName(QStringLiteral("txtPath"));
    txtPath->setPlaceholderText(kPathBoxHint);
    txtPath->setClearButtonEnabled(true);
    txtPath->installEventFilter(this);
    setTabOrder(Drive1, txtPath);
    setTabOrder(txtPath, Dir1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Drive1);
    layout->addWidget(txtPath);
    layout->addWidget(lblPath);
    layout->addWidget(Dir1, 1);

    connect(Drive1, &QComboBox::currentIndexChanged, this, [this] { Drive1_Change(); });
    connect(Dir1, &QTreeView::activated, this, &DirectoryChooser::Dir1_Open);
    // The model reads directories in the background and sorts them afterwards: rows that
    // arrive above the opened directory push it out of view, so it is brought back.
    connect(m_model, &QFileSystemModel::directoryLoaded, this, [this](const QString &loaded) {
        if (!m_path.isEmpty() && isUnderDirectory(m_path, QDir::cleanPath(loaded)))
            revealOpened();
    });
    connect(m_model, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex &parent) {
        if (!m_path.isEmpty() && isUnderDirectory(m_path, m_model->filePath(parent)))
            queueScroll();
    });
    connect(m_model, &QAbstractItemModel::layoutChanged, this, [this] { queueScroll(); });

    setDrives(mountedUserDrives());
}

void DirectoryChooser::setDrives(const QStringList &drives)
{
    m_drives.clear();
    for (const QString &drive : drives)
        m_drives.append(QDir::cleanPath(drive));
    const QSignalBlocker blocker(Drive1);
    Drive1->clear();
    for (const QString &drive : std::as_const(m_drives)) {
        const QString key = driveIconKey(driveTypeOf(drive), true);
        Drive1->addItem(driveIcon(key), QDir::toNativeSeparators(drive), drive);
    }
    m_drive = m_path.isEmpty() ? -1 : int(indexOfDriveHolding(m_drives, m_path));
    Drive1->setCurrentIndex(m_drive);
    if (m_drive >= 0)
        showDrive(m_drive);
}

QStringList DirectoryChooser::drives() const
{
    return m_drives;
}

bool DirectoryChooser::start(const QString &directory)
{
    const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(directory));
    const int drive = int(indexOfDriveHolding(m_drives, clean));
    if (drive < 0 || !directoryReadError(clean).isEmpty())
        return false;
    m_drive = drive;
    {
        const QSignalBlocker blocker(Drive1);
        Drive1->setCurrentIndex(drive);
    }
    showDrive(drive);
    openDirectory(clean);
    return true;
}

QString DirectoryChooser::path() const
{
    return QDir::toNativeSeparators(m_path);
}

bool DirectoryChooser::checkReadable(const QString &directory)
{
    const QString error = directoryReadError(directory);
    if (error.isEmpty())
        return true;
    m_dialogs.show(this, Message::critical(error, kDriveErrorTitle));
    return false;
}

void DirectoryChooser::Drive1_Change()
{
    const int chosen = Drive1->currentIndex();
    if (chosen < 0 || chosen >= m_drives.size() || chosen == m_drive)
        return;
    const QString &drive = m_drives.at(chosen);
    QString target = m_driveDirs.value(drive, drive);
    // A directory opened there earlier may have gone since; the drive itself is what counts.
    if (target != drive && !directoryReadError(target).isEmpty())
        target = drive;
    if (!checkReadable(target)) {
        const QSignalBlocker blocker(Drive1);
        Drive1->setCurrentIndex(m_drive);
        return;
    }
    m_drive = chosen;
    showDrive(chosen);
    openDirectory(target);
}

void DirectoryChooser::Dir1_Open(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const QString directory = QDir::cleanPath(m_model->filePath(index));
    if (checkReadable(directory))
        openDirectory(directory);
}

void DirectoryChooser::txtPath_Enter()
{
    const QString typed = txtPath->text().trimmed();
    if (typed.isEmpty())
        return;
    const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(typed));
    if (!checkReadable(clean))
        return;
    if (!start(clean)) {
        m_dialogs.show(this, Message::critical(kNoDriveHolds.arg(QDir::toNativeSeparators(clean)),
                                               kDriveErrorTitle));
        return;
    }
    txtPath->clear();
}

void DirectoryChooser::showDrive(int index)
{
    const QString &drive = m_drives.at(index);
    m_model->setRootPath(drive);
    Dir1->setRootIndex(m_model->index(drive));
}

void DirectoryChooser::openDirectory(const QString &directory)
{
    m_path = directory;
    if (m_drive >= 0)
        m_driveDirs.insert(m_drives.at(m_drive), directory);
    const QModelIndex index = m_model->index(directory);
    if (index.isValid())
        Dir1->setCurrentIndex(index);
    revealOpened();
    showPathText();
    Q_EMIT pathChanged(path());
}

void DirectoryChooser::revealOpened()
{
    const QModelIndex index = m_model->index(m_path);
    if (!index.isValid())
        return;
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
        Dir1->expand(parent);
    Dir1->expand(index);
    queueScroll();
}

// The view lays out rows just expanded or inserted later; scroll once it has.
void DirectoryChooser::queueScroll()
{
    if (m_scrollQueued)
        return;
    m_scrollQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_scrollQueued = false;
            const QModelIndex opened = m_model->index(m_path);
            if (opened.isValid())
                Dir1->scrollTo(opened, QAbstractItemView::PositionAtCenter);
        },
        Qt::QueuedConnection);
}

void DirectoryChooser::showPathText()
{
    const QString text = path();
    lblPath->setToolTip(text);
    lblPath->setText(
        lblPath->fontMetrics().elidedText(text, Qt::ElideMiddle, std::max(lblPath->width(), 1)));
}

bool DirectoryChooser::eventFilter(QObject *watched, QEvent *event)
{
    // Enter opens the highlighted directory; it must not also press the dialog's OK button.
    if ((watched == Dir1 || watched == txtPath) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == Dir1)
                Dir1_Open(Dir1->currentIndex());
            else
                txtPath_Enter();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void DirectoryChooser::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    showPathText();
}
