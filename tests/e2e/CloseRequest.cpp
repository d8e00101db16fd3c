#include "CloseRequest.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace zw::e2e {

namespace {

xcb_atom_t atomNamed(xcb_connection_t* connection, const char* name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

} // namespace

bool requestClose(const XSession& x, const QString& windowId)
{
    bool isNumber = false;
    const xcb_window_t window = windowId.toUInt(&isNumber);
    if (!isNumber)
        return false;
    xcb_connection_t* connection = xcb_connect(x.display().toLocal8Bit().constData(), nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return false;
    }
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atomNamed(connection, "WM_PROTOCOLS");
    message.data.data32[0] = atomNamed(connection, "WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    const xcb_void_cookie_t sent = xcb_send_event_checked(connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                                                          reinterpret_cast<const char*>(&message));
    xcb_generic_error_t* error = xcb_request_check(connection, sent);
    const bool delivered = error == nullptr && message.type != XCB_ATOM_NONE && message.data.data32[0] != XCB_ATOM_NONE;
    std::free(error);
    xcb_disconnect(connection);
    return delivered;
}

} // namespace zw::e2e
