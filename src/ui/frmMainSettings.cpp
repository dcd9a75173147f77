// Reading and writing kivo.ini, reading lang.ini, and the About box.
#include "ui/frmMain.h"

#include "core/Twips.h"
#include "settings/Language.h"
#include "settings/Settings.h"
#include "state/StateSettings.h"
#include "ui/GameListView.h"
#include "ui/frmAbout.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>

namespace {

// The first three columns of the game list carry the widths head001..head003.
constexpr int kStoredColumns = 3;
// A damaged file must not make a column wider than any screen shows.
constexpr int kMaxColumnWidth = 10000;

Qt::WindowState windowStateOf(qint32 winstate)
{
    switch (winstate) {
    case 1:
        return Qt::WindowMinimized;
    case 2:
        return Qt::WindowMaximized;
    default:
        return Qt::WindowNoState;
    }
}

} // namespace

// The window's size is its own size without the window manager's frame, which is not known
// before the window is shown; its position is the frame's. Both read back as they were written.
void frmMain::LoadSettings()
{
    const SettingsFile settings =
        readSettingsFile(ProfileFile::load(m_state.programDir.settingsFile()));

    if (settings.placementRead) {
        const QScreen *shownOn = screen();
        const QRect screenRect = shownOn != nullptr ? shownOn->geometry() : QRect();
        // Every screen's usable area, the window's own first: the window must stay reachable.
        QList<QRect> available;
        if (shownOn != nullptr)
            available.append(shownOn->availableGeometry());
        for (const QScreen *other : QGuiApplication::screens()) {
            if (other != shownOn)
                available.append(other->availableGeometry());
        }
        const QRect placed = placeWindow(settings, QRect(pos(), size()), screenRect, available);
        resize(placed.size());
        move(placed.topLeft());
    }
    setWindowState(windowStateOf(settings.winstate));

    applySettings(settings, m_state);

    const double perPixel = twipsPerPixel(logicalDpiX());
    for (int column = 0; column < kStoredColumns; ++column) {
        const float twips = settings.head[column];
        if (twips > 0)
            lstGames->header()->resizeSection(
                column, std::clamp(twipsToPixels(twips, perPixel), 1, kMaxColumnWidth));
    }
}

// The whole file is built in memory and replaces the old one only once it is complete, so a
// full disk or a crash halfway never loses the settings of the previous run.
void frmMain::SaveSettings()
{
    SettingsFile settings = settingsFromState(m_state);
    settings.winstate = isMinimized() ? 1 : isMaximized() ? 2 : 0;
    settings.winw = float(width());
    settings.winh = float(height());
    settings.winx = float(x());
    settings.winy = float(y());
    const double perPixel = twipsPerPixel(logicalDpiX());
    for (int column = 0; column < kStoredColumns; ++column)
        settings.head[column] = pixelsToTwips(lstGames->header()->sectionSize(column), perPixel);

    const QString path = m_state.programDir.settingsFile();
    if (const auto failed = saveSettingsFile(path, settings))
        m_dialogs.show(this, *failed);
}

void frmMain::LoadLanguage()
{
    const LanguageTexts texts =
        readLanguageFile(ProfileFile::load(m_state.programDir.languageFile()));
    applyCaptions(texts.menuCaptions);
    m_state.language = texts.language;
    m_state.gameTypes = texts.gameTypes;
}

void frmMain::showAbout()
{
    frmAbout about(m_state.programDir.settingsFile(), this);
    about.exec();
}
