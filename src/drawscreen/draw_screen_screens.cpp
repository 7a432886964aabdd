// The screen the draw screen shows on and whether it covers it whole: the screen and
// full-screen items of the context menu, F11, the state remembered for the next start, and a
// screen that goes away while the program runs.
#include "drawscreen/draw_screen.h"

#include "datafiles/settings_keys.h"
#include "ui/message_boxes.h"
#include "datafiles/gbk.h"
#include "datafiles/settings_file.h"
#include "display/screen_choice.h"
#include "drawscreen/black_out_cover.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QWindow>
#include <memory>

namespace {

const QString SwitchScreenCaption = QStringLiteral("切换显示屏");
const QString FullScreenCaption = QStringLiteral("全屏显示");
const QString OperatorWindowCaption = QStringLiteral("操作员窗口");
const char* const ScreenKey = SettingsKey::Screen;
const char* const FullScreenKey = SettingsKey::FullScreen;
const QByteArray FullScreenOn = SettingsKey::On;
const QByteArray FullScreenOff = SettingsKey::Off;

QStringList screenNames(const QList<QScreen*>& screens)
{
    QStringList names;
    for (const QScreen* screen : screens)
        names.append(screen->name());
    return names;
}

int primaryIndex(const QList<QScreen*>& screens)
{
    return static_cast<int>(screens.indexOf(QGuiApplication::primaryScreen()));
}

} // namespace

void DrawScreen::buildScreenItems()
{
    parts_.switchScreenAction = parts_.contextMenu->addAction(SwitchScreenCaption, this,
                                                              &DrawScreen::switchScreenItemClick);
    parts_.operatorWindowAction = parts_.contextMenu->addAction(OperatorWindowCaption, this,
                                                                &DrawScreen::operatorWindowAsked);
    parts_.operatorWindowAction->setCheckable(true);
    parts_.operatorWindowAction->setEnabled(false);
    // F2 like F11: wherever the focus is in the window; greyed out, it does nothing.
    parts_.operatorWindowAction->setShortcut(QKeySequence(Qt::Key_F2));
    addAction(parts_.operatorWindowAction);
    parts_.fullScreenAction =
        parts_.contextMenu->addAction(FullScreenCaption, this, &DrawScreen::fullScreenItemClick);
    parts_.fullScreenAction->setCheckable(true);
    // F11 works wherever the focus is in the window, as the menu item does.
    parts_.fullScreenAction->setShortcut(QKeySequence(Qt::Key_F11));
    addAction(parts_.fullScreenAction);
    updateScreenItems();
    connect(qApp, &QGuiApplication::screenAdded, this, &DrawScreen::updateScreenItems);
    connect(qApp, &QGuiApplication::screenRemoved, this, &DrawScreen::screenGone);
}

void DrawScreen::setOperatorWindowItem(bool available, bool shown)
{
    parts_.operatorWindowAction->setEnabled(available);
    parts_.operatorWindowAction->setChecked(shown);
}

ProjectorState DrawScreen::projectorState() const
{
    return {parts_.blackOut->black(), isFullScreen(),
            windowHandle() && windowHandle()->screen() ? windowHandle()->screen()->name()
                                                       : QString()};
}

void DrawScreen::blackOutItemClick()
{
    parts_.blackOut->toggle();
}

void DrawScreen::updateScreenItems()
{
    parts_.switchScreenAction->setEnabled(QGuiApplication::screens().size() > 1);
    // The operator window needs another screen than the draw screen's.
    parts_.operatorWindowAction->setEnabled(QGuiApplication::screens().size() > 1);
    parts_.fullScreenAction->setChecked(isFullScreen());
}

void DrawScreen::showAsRemembered()
{
    const SettingsFile settings;
    const QByteArray remembered = settings.text(ScreenKey);
    if (remembered != ScreenKey) {
        const QList<QScreen*> screens = QGuiApplication::screens();
        const std::optional<int> chosen =
            ScreenChoice::atStart(screenNames(screens), fromGbk(remembered), primaryIndex(screens));
        if (chosen) {
            QScreen* target = screens[*chosen];
            placeOn(target);
        }
    }
    coverScreen(settings.text(FullScreenKey) == FullScreenOn);
    updateScreenItems();
}

void DrawScreen::switchScreenItemClick()
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    const int next =
        ScreenChoice::next(static_cast<int>(screens.indexOf(screen())), screens.size());
    if (next < 0 || screens[next] == screen())
        return;
    moveToScreen(screens[next]);
    runHandler(this, [&] {
        SettingsFile().write(ScreenKey, toGbk(screens[next]->name()), Flush::InBackground);
    });
}

void DrawScreen::fullScreenItemClick()
{
    const bool full = !isFullScreen();
    coverScreen(full);
    updateScreenItems();
    runHandler(this, [full] {
        SettingsFile().write(FullScreenKey, full ? FullScreenOn : FullScreenOff,
                             Flush::InBackground);
    });
}

void DrawScreen::coverScreen(bool fullScreen)
{
    // Full screen lies over the maximised state, so that leaving it only takes full screen
    // away: the window is never in the normal state on the way, where its frame is fixed.
    const Qt::WindowStates covering = fullScreen ? Qt::WindowMaximized | Qt::WindowFullScreen
                                                 : Qt::WindowStates(Qt::WindowMaximized);
    const bool throughNormal = !fullScreen && isFullScreen() && !isMaximized() && isVisible();
    setWindowState((windowState() & ~(Qt::WindowMinimized | Qt::WindowFullScreen)) | covering);
    if (throughNormal) {
        // The window manager does not report the maximised state under full screen (it never
        // maximised a window shown in full screen from the start): it may take full screen away
        // first and maximise after, through the normal state, where a fixed frame would keep it
        // from being maximised. The frame stays free until the window manager has
        // maximised the window (the state asked for above is reported at once).
        coverPending_ = true;
        auto untilMaximised = std::make_shared<QMetaObject::Connection>();
        *untilMaximised = connect(windowHandle(), &QWindow::windowStateChanged, this,
                                  [this, untilMaximised](Qt::WindowState state) {
                                      if (state != Qt::WindowMaximized)
                                          return;
                                      coverPending_ = false;
                                      disconnect(*untilMaximised);
                                  });
    }
    setVisible(true);
}

void DrawScreen::placeOn(QScreen* target)
{
    // The client area's corner at the screen's, so that the window is on that screen whatever
    // frame the system gives it.
    setScreen(target);
    setGeometry(QRect(target->availableGeometry().topLeft(), size()));
}

void DrawScreen::moveToScreen(QScreen* target)
{
    // A maximised or full-screen window is tied to its screen: it becomes a normal window
    // there, moves, and takes the same state on the other screen, where the layout is fitted
    // to its new client area.
    const bool full = isFullScreen();
    const bool shown = isVisible();
    coverPending_ = shown;
    setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
    placeOn(target);
    if (!shown)
        return;
    coverScreen(full);
}

void DrawScreen::screenGone(QScreen* gone)
{
    updateScreenItems();
    // The screens listed no longer hold the one that went; the window is still on it.
    if (screen() != gone)
        return;
    const QList<QScreen*> remaining = QGuiApplication::screens();
    const int to = ScreenChoice::afterRemoval(screenNames(remaining), primaryIndex(remaining));
    if (to >= 0)
        moveToScreen(remaining[to]);
}
