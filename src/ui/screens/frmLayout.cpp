#include "ui/screens/frmLayout.h"

#include "render/ViewSketch.h"
#include "state/AppState.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// The language table's captions used here.
constexpr int kViewsCaption = 13; // lang013 "Views"
constexpr int kFullSize = 14;     // lang014 "Full Size Screenshots"
constexpr int kHalfSize = 15;     // lang015 "Half Size Screenshots"
constexpr int kOkCaption = 6;     // lang006 "OK"
constexpr int kCancelCaption = 7; // lang007 "Cancel"
constexpr int kFirstViewTip = 17; // views001

// Which of views001..views004 names each view's picture.
constexpr int kViewTip[kViewCount] = {0, 1, 2, 2, 3, 3, 3};

constexpr int kPictureSpacing = 10;
constexpr int kColumns = 4;

} // namespace

frmLayout::frmLayout(AppState &state, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
{
    setObjectName(QStringLiteral("frmLayout"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *pictures = new QWidget(this);
    auto *grid = new QGridLayout(pictures);
    grid->setSpacing(kPictureSpacing);
    for (int view = 0; view < kViewCount; ++view) {
        auto *picture = new QLabel(pictures);
        picture->setObjectName(QStringLiteral("picViewType%1").arg(view));
        picture->setPixmap(QPixmap::fromImage(viewSketch(view)));
        picture->setFixedSize(kViewSketchWidth, kViewSketchHeight);
        picture->setCursor(Qt::PointingHandCursor);
        picture->installEventFilter(this);
        grid->addWidget(picture, view / kColumns, view % kColumns);
        picViewType.append(picture);
    }
    shpViewSelect = new QFrame(pictures);
    shpViewSelect->setObjectName(QStringLiteral("shpViewSelect"));
    shpViewSelect->setFrameStyle(QFrame::Box | QFrame::Plain);
    shpViewSelect->setLineWidth(2);
    shpViewSelect->setStyleSheet(QStringLiteral("color: palette(highlight);"));
    shpViewSelect->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto *sizes = new QGroupBox(this);
    auto *sizeLayout = new QVBoxLayout(sizes);
    for (int option = 0; option < 2; ++option) {
        auto *button = new QRadioButton(sizes);
        button->setObjectName(QStringLiteral("optScrSize%1").arg(option));
        sizeLayout->addWidget(button);
        optScrSize.append(button);
    }

    cmdOK = new QPushButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pictures);
    layout->addWidget(sizes);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Form_Load();
}

void frmLayout::Form_Load()
{
    const LanguageTable &language = m_state.language;
    setWindowTitle(language.at(kViewsCaption));
    cmdOK->setText(language.at(kOkCaption));
    cmdCancel->setText(language.at(kCancelCaption));
    optScrSize[0]->setText(language.at(kFullSize) + QStringLiteral(" (256 x 192)"));
    optScrSize[1]->setText(language.at(kHalfSize) + QStringLiteral(" (128 x 96)"));
    for (int view = 0; view < kViewCount; ++view)
        picViewType[view]->setToolTip(language.at(kFirstViewTip + kViewTip[view]));
    optScrSize[0]->setChecked(true);
    if (m_state.layout.ScreenshotWidth < 256)
        optScrSize[1]->setChecked(true);
    picViewType_Click(std::clamp(m_state.layout.ViewMode, 0, kViewCount - 1));
    m_selectedView = std::clamp(m_state.layout.ViewMode, 0, kViewCount - 1);
}

void frmLayout::picViewType_Click(int index)
{
    // The frame sits on the picture and reaches one pixel past it.
    QLabel *picture = picViewType.at(index);
    // The pictures have their places once both layouts have run, also before the dialog shows.
    if (QLayout *dialogLayout = layout())
        dialogLayout->activate();
    if (QLayout *pictures = picture->parentWidget()->layout())
        pictures->activate();
    shpViewSelect->setGeometry(picture->x(), picture->y(), picture->width() + 1,
                               picture->height() + 1);
    shpViewSelect->raise();
    m_selectedView = index;
}

void frmLayout::cmdOK_Click()
{
    LayoutState &layout = m_state.layout;
    layout.HalfSizeScreenshots = optScrSize[0]->isChecked() ? 0 : 1;
    layout.ViewMode = m_selectedView;
    layout.FirstVisibleShot = 0;
    accept();
}

void frmLayout::cmdCancel_Click()
{
    reject();
}

bool frmLayout::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        const int index = int(picViewType.indexOf(qobject_cast<QLabel *>(watched)));
        if (index >= 0) {
            picViewType_Click(index);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// The arrow keys step through the views.
void frmLayout::keyPressEvent(QKeyEvent *event)
{
    const int step = event->key() == Qt::Key_Left    ? -1
                     : event->key() == Qt::Key_Right ? 1
                     : event->key() == Qt::Key_Up    ? -kColumns
                     : event->key() == Qt::Key_Down  ? kColumns
                                                     : 0;
    if (step == 0) {
        QDialog::keyPressEvent(event);
        return;
    }
    picViewType_Click(std::clamp(m_selectedView + step, 0, kViewCount - 1));
}
