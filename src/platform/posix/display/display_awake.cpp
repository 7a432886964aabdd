#include "display/display_awake.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QPointer>
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

namespace {
const QString Service = QStringLiteral("org.freedesktop.ScreenSaver");
const QString Path = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString Interface = QStringLiteral("org.freedesktop.ScreenSaver");
} // namespace

// The desktop's screen saver service holds the display for as long as the connection that
// asked stays open, so the connection is kept for the whole run. Where no desktop answers,
// the X server's own screen saver (and its power saving) is suspended through a connection of
// our own, which likewise ends the suspension when it closes.
struct DisplayAwake::State
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    QPointer<QDBusPendingCallWatcher> pending;
    uint cookie = 0;
    bool inhibited = false;
    Display* x = nullptr;

    void suspendXScreenSaver()
    {
        if (x || QGuiApplication::platformName() != QLatin1String("xcb"))
            return;
        x = XOpenDisplay(nullptr);
        if (!x)
            return;
        int event = 0;
        int error = 0;
        int major = 0;
        int minor = 0;
        if (!XScreenSaverQueryExtension(x, &event, &error) ||
            !XScreenSaverQueryVersion(x, &major, &minor) || major < 1 ||
            (major == 1 && minor < 1)) {
            XCloseDisplay(x);
            x = nullptr;
            return;
        }
        XScreenSaverSuspend(x, True);
        XFlush(x);
    }
};

DisplayAwake::DisplayAwake(const QString& applicationName, const QString& reason)
    : state_(std::make_unique<State>())
{
    State* state = state_.get();
    if (!state->bus.isConnected()) {
        state->suspendXScreenSaver();
        return;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("Inhibit"));
    call << applicationName << reason;
    // Asked without waiting: start-up does not wait on the desktop.
    state->pending = new QDBusPendingCallWatcher(state->bus.asyncCall(call));
    QObject::connect(state->pending, &QDBusPendingCallWatcher::finished, state->pending,
                     [state](QDBusPendingCallWatcher* watcher) {
                         const QDBusPendingReply<uint> reply = *watcher;
                         watcher->deleteLater();
                         if (reply.isValid()) {
                             state->cookie = reply.value();
                             state->inhibited = true;
                         } else {
                             state->suspendXScreenSaver();
                         }
                     });
}

DisplayAwake::~DisplayAwake()
{
    // An answer still to come is no longer wanted.
    delete state_->pending;
    if (state_->inhibited) {
        QDBusMessage call =
            QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("UnInhibit"));
        call << state_->cookie;
        // Answered within a second at most: the program is ending, and the bus ends the hold
        // in any case once the connection closes.
        state_->bus.call(call, QDBus::Block, 1000);
    }
    if (state_->x) {
        XScreenSaverSuspend(state_->x, False);
        XCloseDisplay(state_->x);
    }
}

bool DisplayAwake::holding() const
{
    return state_->inhibited || state_->x;
}
