#include "app/window/window_manager.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>

namespace app::window {
namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 1, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// The 32-bit values of a window's property of type `type` (empty: none).
template <typename Value>
std::span<const Value> values(const Reply<xcb_get_property_reply_t>& reply, xcb_atom_t type) {
    if (!reply || reply->type != type || reply->format != 32) return {};
    const auto* data = static_cast<const Value*>(xcb_get_property_value(reply.get()));
    return {data, static_cast<std::size_t>(xcb_get_property_value_length(reply.get())) / sizeof(Value)};
}

Reply<xcb_get_property_reply_t> property(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name,
                                         xcb_atom_t type, std::uint32_t longs) {
    return Reply<xcb_get_property_reply_t>(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, name, type, 0, longs), nullptr));
}

// The window manager's check window: named on the root window, and naming
// itself (a stale name left by a manager that has gone names a window that is
// gone or is another's).
bool liveWindowManager(xcb_connection_t* c, xcb_window_t root, xcb_atom_t check) {
    const auto onRoot = property(c, root, check, XCB_ATOM_WINDOW, 1);
    const auto named = values<xcb_window_t>(onRoot, XCB_ATOM_WINDOW);
    if (named.empty()) return false;
    const auto onItself = property(c, named[0], check, XCB_ATOM_WINDOW, 1);
    const auto self = values<xcb_window_t>(onItself, XCB_ATOM_WINDOW);
    return !self.empty() && self[0] == named[0];
}

bool x11WindowManagerDoesFullScreen(xcb_connection_t* c) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (screen == nullptr) return false;
    const xcb_atom_t check = atom(c, "_NET_SUPPORTING_WM_CHECK");
    const xcb_atom_t supported = atom(c, "_NET_SUPPORTED");
    const xcb_atom_t fullScreen = atom(c, "_NET_WM_STATE_FULLSCREEN");
    constexpr xcb_atom_t none = XCB_ATOM_NONE;
    if (check == none || supported == none || fullScreen == none) return false;
    if (!liveWindowManager(c, screen->root, check)) return false;
    const auto list = property(c, screen->root, supported, XCB_ATOM_ATOM, 4096);
    for (const xcb_atom_t a : values<xcb_atom_t>(list, XCB_ATOM_ATOM))
        if (a == fullScreen) return true;
    return false;
}

}  // namespace

bool windowManagerDoesFullScreen() {
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) return true;
    const auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr || x11->connection() == nullptr) return false;
    return x11WindowManagerDoesFullScreen(x11->connection());
}

}  // namespace app::window
