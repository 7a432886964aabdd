#include "ui/restore_minimised.h"

#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>
#include <xcb/xcb.h>

namespace {
// The source of an activation request that a user's own action made (a task bar's click):
// the window manager restores the window as it was and gives it the focus.
constexpr uint32_t UserRequest = 2;
} // namespace

void restoreMinimised(QWidget& window, Qt::WindowStates shownState)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) {
        window.setWindowState(shownState);
        return;
    }
    // Qt's own way maps the window and resends its state, and a window manager that is
    // still taking the window out of its minimised state can drop the maximised one on the way.
    static const char name[] = "_NET_ACTIVE_WINDOW";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr);
    if (!atom) {
        window.setWindowState(shownState);
        return;
    }
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = static_cast<xcb_window_t>(window.winId());
    event.type = atom->atom;
    event.data.data32[0] = UserRequest;
    event.data.data32[1] = XCB_CURRENT_TIME;
    std::free(atom);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection);
}
