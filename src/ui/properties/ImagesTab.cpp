#include "ui/properties/ImagesTab.h"

#include "core/PathText.h"
#include "core/RomRecord.h"
#include "render/NoScreenshot.h"
#include "render/PictureLoader.h"
#include "state/AppState.h"
#include "state/ScreenshotList.h"
#include "ui/common/Dialogs.h"
#include "ui/common/KeepLoadingScreen.h"
#include "ui/properties/NamedControls.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// LanguageTable indices of the tab's captions.
constexpr int kAddCaption = 22;    // lang018
constexpr int kRemoveCaption = 23; // lang019
constexpr int kClearCaption = 31;  // lang027

constexpr QSize kPreviewSize(256, 192);
constexpr int kImageFilterAllPictures = 0;

const QString kNotFoundTip = QStringLiteral("Unable to locate file [%1]");

} // namespace

ImagesTab::ImagesTab(AppState &state, Dialogs &dialogs, PictureLoader &pictures, QWidget *parent)
    : QWidget(parent)
    , m_state(state)
    , m_dialogs(dialogs)
    , m_pictures(pictures)
    , m_placeholder(drawPicNoSS())
{
    setObjectName(QStringLiteral("tabImages"));
    picScrShot = new QLabel(this);
    picScrShot->setObjectName(QStringLiteral("picScrShot"));
    picScrShot->setFixedSize(kPreviewSize);
    picScrShot->setAlignment(Qt::AlignCenter);
    lblScrShots = new QLabel(this);
    lblScrShots->setObjectName(QStringLiteral("lblScrShots"));
    lblScrShots->setAlignment(Qt::AlignCenter);

    static const char *const names[ActionCount] = {"cmdAction0", "cmdAction1", "cmdAction2",
                                                   "cmdAction3", "cmdAction4"};
    for (const char *name : names)
        cmdAction.append(namedButton(this, name));
    cmdAction[ActionPrevious]->setText(QStringLiteral("<"));
    cmdAction[ActionNext]->setText(QStringLiteral(">"));

    auto *stepping = new QHBoxLayout;
    stepping->addWidget(cmdAction[ActionPrevious]);
    stepping->addWidget(lblScrShots, 1);
    stepping->addWidget(cmdAction[ActionNext]);
    auto *editing = new QHBoxLayout;
    editing->addStretch();
    for (const int action : {ActionAdd, ActionRemove, ActionClear})
        editing->addWidget(cmdAction[action]);
    editing->addStretch();

    cmdAddLoadingScreen = namedButton(this, "cmdAddLoadingScreen");
    cmdAddLoadingScreen->setText(kAddLoadingScreenCaption);
    auto *loadingScreen = new QHBoxLayout;
    loadingScreen->addStretch();
    loadingScreen->addWidget(cmdAddLoadingScreen);
    loadingScreen->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(picScrShot, 0, Qt::AlignHCenter);
    layout->addLayout(stepping);
    layout->addLayout(editing);
    layout->addLayout(loadingScreen);
    layout->addStretch();

    for (int i = 0; i < ActionCount; ++i)
        connect(cmdAction.at(i), &QPushButton::clicked, this, [this, i] { cmdAction_Click(i); });
    connect(cmdAddLoadingScreen, &QPushButton::clicked, this, &ImagesTab::loadingScreenWanted);
}

void ImagesTab::setCaptions()
{
    const LanguageTable &language = m_state.language;
    cmdAction[ActionAdd]->setText(language.at(kAddCaption));
    cmdAction[ActionRemove]->setText(language.at(kRemoveCaption));
    cmdAction[ActionClear]->setText(language.at(kClearCaption));
}

void ImagesTab::showRecord(const RomRecord &record)
{
    m_screenshots = record.Screenshots;
    m_shots = screenshotNames(m_screenshots);
    m_current = 0;
    ShowScreenshot();
}

void ImagesTab::readInto(RomRecord &record) const
{
    record.Screenshots = m_screenshots;
}

void ImagesTab::ShowScreenshot()
{
    if (m_shots.isEmpty()) {
        m_current = 0;
        lblScrShots->clear();
        showPicture(m_placeholder, QString());
        setShotButtons();
        return;
    }
    m_current = int(std::clamp<qsizetype>(m_current, 0, m_shots.size() - 1));
    lblScrShots->setText(QStringLiteral("%1 of %2").arg(m_current + 1).arg(m_shots.size()));
    const QString name = m_shots.at(m_current);
    const QString path = findScreenshot(m_state.paths, name, m_state.programDir.programDir);
    if (path.isEmpty()) {
        showPicture(m_placeholder, kNotFoundTip.arg(name));
    } else {
        const LoadedPicture picture = m_pictures.load(path);
        if (picture.ok)
            showPicture(picture.image, path);
        else
            showPicture(m_placeholder, path + u'\n' + picture.error);
    }
    setShotButtons();
}

// Each button is usable exactly when it has something to do.
void ImagesTab::setShotButtons()
{
    const bool any = !m_shots.isEmpty();
    cmdAction[ActionPrevious]->setEnabled(any && m_current > 0);
    cmdAction[ActionNext]->setEnabled(any && m_current < m_shots.size() - 1);
    cmdAction[ActionAdd]->setEnabled(true);
    cmdAction[ActionRemove]->setEnabled(any);
    cmdAction[ActionClear]->setEnabled(any);
}

void ImagesTab::showPicture(const QImage &image, const QString &tip)
{
    const QImage fitted =
        image.size() == kPreviewSize
            ? image
            : image.scaled(kPreviewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    picScrShot->setPixmap(QPixmap::fromImage(fitted));
    picScrShot->setToolTip(tip);
}

void ImagesTab::cmdAction_Click(int index)
{
    switch (index) {
    case ActionPrevious:
        m_current = std::max(0, m_current - 1);
        break;
    case ActionNext:
        m_current = std::min(int(m_shots.size()) - 1, m_current + 1);
        break;
    case ActionAdd:
        AddScreenshot();
        return;
    case ActionRemove: {
        if (m_shots.isEmpty())
            return;
        const Message question{kRemoveShotQuestion, kApplicationTitle, MessageIcon::None,
                               MessageButtons::YesNo};
        if (m_dialogs.show(window(), question) != Dialogs::Answer::Yes)
            return;
        m_shots.removeAt(m_current);
        m_screenshots = m_shots.join(u',');
        m_shots = screenshotNames(m_screenshots);
        if (m_current > m_shots.size() - 1)
            --m_current;
        break;
    }
    case ActionClear: {
        const Message question{kClearShotsQuestion, kApplicationTitle, MessageIcon::None,
                               MessageButtons::YesNo};
        if (m_dialogs.show(window(), question) != Dialogs::Answer::Yes)
            return;
        m_current = 0;
        m_screenshots.clear();
        m_shots.clear();
        break;
    }
    default:
        return;
    }
    ShowScreenshot();
}

void ImagesTab::appendScreenshot(const QString &path)
{
    addScreenshotFile(m_screenshots, m_state.paths, path);
    m_shots = screenshotNames(m_screenshots);
}

void ImagesTab::refuseCommaNames(const QStringList &names)
{
    for (const QString &name : names)
        m_dialogs.show(window(), commaInScreenshotName(name));
}

void ImagesTab::AddScreenshot()
{
    Dialogs::FileRequest request{kLocateImageTitle, kImageFilter, QString(), QString()};
    request.selectedFilter = kImageFilterAllPictures;
    request.directory = m_state.paths[PathKind::Screenshot].dirs().value(0);
    const QString path = m_dialogs.openFile(window(), request);
    if (path.isEmpty())
        return;
    if (!fitsScreenshotList(fileNamePart(path))) {
        refuseCommaNames({fileNamePart(path)});
        return;
    }
    appendScreenshot(path);
    m_current = int(m_shots.size()) - 1;
    ShowScreenshot();
}

bool ImagesTab::appendDropped(const QStringList &paths)
{
    QStringList withComma;
    const int added =
        addScreenshotFiles(m_screenshots, m_state.paths, paths, ScrFiles::Accepted, &withComma);
    refuseCommaNames(withComma);
    if (added == 0)
        return false;
    m_shots = screenshotNames(m_screenshots);
    m_current = int(m_shots.size()) - 1;
    ShowScreenshot();
    return true;
}

void ImagesTab::addLoadingScreen(const QString &romFile, const LoadedPicture &screen)
{
    if (!screen.ok)
        return;
    QString written;
    const QString kept = keepLoadingScreen(m_state, m_dialogs, window(), kAddLoadingScreenCaption,
                                           romFile, screen.screen, &written);
    if (kept.isEmpty())
        return;
    m_keptScreens.append(written);
    m_shots.append(kept);
    m_screenshots = m_shots.join(u',');
    m_current = int(m_shots.size()) - 1;
    ShowScreenshot();
}

void ImagesTab::removeKeptScreens()
{
    for (const QString &path : std::as_const(m_keptScreens))
        QFile::remove(toFileSystemPath(path));
    m_keptScreens.clear();
}
