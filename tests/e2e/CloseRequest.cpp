#include "e2e/CloseRequest.h"

#include <QtGlobal>

#include <cstdlib>
#include <xcb/xcb.h>

bool sendCloseRequest(const QString& display, qulonglong window)
{
    xcb_connection_t* connection = xcb_connect(display.toLocal8Bit().constData(), nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return false;
    }
    auto atom = [connection](const char* name) {
        const xcb_intern_atom_cookie_t cookie =
            xcb_intern_atom(connection, 0, static_cast<quint16>(qstrlen(name)), name);
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
        const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(reply);
        return result;
    };
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = static_cast<xcb_window_t>(window);
    event.type = atom("WM_PROTOCOLS");
    event.data.data32[0] = atom("WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    // Wait for the server's answer before hanging up: requests still
    // unread when the connection closes can be dropped.
    xcb_generic_error_t* error = xcb_request_check(
        connection, xcb_send_event_checked(connection, 0, event.window, XCB_EVENT_MASK_NO_EVENT,
                                           reinterpret_cast<const char*>(&event)));
    const bool ok = error == nullptr;
    free(error);
    xcb_disconnect(connection);
    return ok;
}
