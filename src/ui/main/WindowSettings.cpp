#include "ui/main/WindowSettings.h"

#include "core/Twips.h"
#include "settings/Language.h"
#include "settings/Settings.h"
#include "state/StateSettings.h"
#include "ui/common/Dialogs.h"
#include "ui/list/ColumnChooser.h"
#include "ui/list/GameListModel.h"
#include "ui/list/GameListView.h"
#include "ui/main/MainMenus.h"

#include <QGuiApplication>
#include <QMainWindow>
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

// The window manager's frame is known only once the window shows: a window that fitted the
// screen by its own size, and whose frame does not, is made smaller and moved in, once.
class FrameKeeper : public QObject
{
public:
    explicit FrameKeeper(QMainWindow &window)
        : QObject(&window)
        , m_window(window)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == &m_window && event->type() == QEvent::Show) {
            m_window.removeEventFilter(this);
            deleteLater();
            const QScreen *screen = m_window.screen();
            if (screen != nullptr && m_window.windowState() == Qt::WindowNoState) {
                const QRect area = screen->availableGeometry();
                const QRect frame = m_window.frameGeometry();
                if (!area.contains(frame)) {
                    const QSize extra = frame.size() - m_window.size();
                    m_window.resize(m_window.size().boundedTo(area.size() - extra));
                    // No further left or up than the area, even if the window cannot shrink.
                    const QSize outer = m_window.frameGeometry().size();
                    m_window.move(
                        std::max(area.x(), std::min(frame.x(), area.right() + 1 - outer.width())),
                        std::max(area.y(),
                                 std::min(frame.y(), area.bottom() + 1 - outer.height())));
                }
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QMainWindow &m_window;
};

} // namespace

WindowSettings::WindowSettings(AppState &state, Dialogs &dialogs, QMainWindow &window,
                               GameListView &list, ColumnChooser &columns, MainMenuArrays &menus)
    : m_state(state)
    , m_dialogs(dialogs)
    , m_window(window)
    , m_list(list)
    , m_columns(columns)
    , m_menus(menus)
{
    new FrameKeeper(window);
}

// The window's size is its own size without the window manager's frame, which is not known
// before the window is shown; its position is the frame's. Both read back as they were written.
void WindowSettings::LoadSettings()
{
    const SettingsFile settings =
        readSettingsFile(ProfileFile::load(m_state.programDir.settingsFile()));

    const QScreen *shownOn = m_window.screen();
    const QRect screenRect = shownOn != nullptr ? shownOn->geometry() : QRect();
    // Every screen's usable area, the window's own first: the window must stay reachable.
    QList<QRect> available;
    if (shownOn != nullptr)
        available.append(shownOn->availableGeometry());
    for (const QScreen *other : QGuiApplication::screens()) {
        if (other != shownOn)
            available.append(other->availableGeometry());
    }
    if (settings.placementRead) {
        const QRect placed =
            placeWindow(settings, QRect(m_window.pos(), m_window.size()), screenRect, available);
        m_window.resize(placed.size());
        m_window.move(placed.topLeft());
    } else if (!available.isEmpty()) {
        // The built-in size, no larger than the screen (at twice the scale it would be); where
        // it goes is the window manager's choice.
        m_window.resize(m_window.size().boundedTo(available.first().size()));
    }
    m_window.setWindowState(windowStateOf(settings.winstate));

    applySettings(settings, m_state);
    m_menus.mnuMisc[Menu::MiscLoadLast]->setChecked(m_state.LoadLastDatabase == 1);
    m_menus.view[Menu::ViewLoadingScreens]->setChecked(m_state.layout.ShowLoadingScreens);
    m_firstRun = settings.firstrun;

    const QList<ListColumn> optional = listColumnsFromIds(settings.columns);
    m_columns.setColumns(optional);
    const double perPixel = twipsPerPixel(m_window.logicalDpiX());
    // The optional columns' widths follow the names they came with; one the file does not give
    // keeps the width it has.
    QList<float> widths(settings.head.begin(), settings.head.end());
    for (const ListColumn column : optional) {
        const qsizetype at = settings.columns.indexOf(listColumnId(column));
        widths.append(at >= 0 && at < settings.columnWidths.size() ? settings.columnWidths.at(at)
                                                                   : 0);
    }
    for (int column = 0; column < widths.size(); ++column) {
        const float twips = widths.at(column);
        if (twips <= 0)
            continue;
        m_list.setColumnsFitted(false);
        m_list.header()->resizeSection(
            column, std::clamp(twipsToPixels(twips, perPixel), 1, kMaxColumnWidth));
    }
}

// The whole file is built in memory and replaces the old one only once it is complete, so a
// full disk or a crash halfway never loses the settings of the previous run.
void WindowSettings::SaveSettings()
{
    SettingsFile settings = settingsFromState(m_state);
    settings.winstate = m_window.isMinimized() ? 1 : m_window.isMaximized() ? 2 : 0;
    settings.winw = float(m_window.width());
    settings.winh = float(m_window.height());
    settings.winx = float(m_window.x());
    settings.winy = float(m_window.y());
    const double perPixel = twipsPerPixel(m_window.logicalDpiX());
    for (int column = 0; column < kStoredColumns; ++column)
        settings.head[column] = pixelsToTwips(m_list.header()->sectionSize(column), perPixel);
    const QList<ListColumn> optional = m_columns.shownColumns();
    settings.columns = listColumnIds(optional);
    for (int at = 0; at < optional.size(); ++at) {
        settings.columnWidths.append(
            pixelsToTwips(m_list.header()->sectionSize(GameListModel::ColumnCount + at), perPixel));
    }

    const QString path = m_state.programDir.settingsFile();
    if (const auto failed = saveSettingsFile(path, settings))
        m_dialogs.show(&m_window, *failed);
}

void WindowSettings::LoadLanguage()
{
    const LanguageTexts texts =
        readLanguageFile(ProfileFile::load(m_state.programDir.languageFile()));
    m_menus.applyCaptions(texts.menuCaptions);
    m_state.language = texts.language;
    m_state.gameTypes = texts.gameTypes;
}
