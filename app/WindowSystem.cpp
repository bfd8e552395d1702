#include "app/WindowSystem.h"

#include <QGuiApplication>
#include <QStringList>

#if defined(ZELVANO_HAVE_XCB) && QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>
#define ZELVANO_X11 1
#endif

namespace {

#ifdef ZELVANO_X11

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

xcb_connection_t* X11Connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    const Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : XCB_ATOM_NONE;
}

// The values of a property of 32-bit items (windows, atoms), empty when it is
// missing or of another type.
std::vector<uint32_t> Property32(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property, xcb_atom_t type) {
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, property, type, 0, 4096), nullptr));
    if (!reply || reply->type != type || reply->format != 32) return {};
    const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return std::vector<uint32_t>(values, values + xcb_get_property_value_length(reply.get()) / 4);
}

// A window manager announces itself with a window of its own named on the
// root window and on itself; a name left behind by one that has ended names
// a window that is gone or names nothing.
bool X11WindowManagerMaximizes(xcb_connection_t* c) {
    const xcb_atom_t check = Atom(c, "_NET_SUPPORTING_WM_CHECK");
    const xcb_atom_t supported = Atom(c, "_NET_SUPPORTED");
    const xcb_atom_t vert = Atom(c, "_NET_WM_STATE_MAXIMIZED_VERT");
    const xcb_atom_t horz = Atom(c, "_NET_WM_STATE_MAXIMIZED_HORZ");
    if (check == XCB_ATOM_NONE || supported == XCB_ATOM_NONE) return false;
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(c)); it.rem; xcb_screen_next(&it)) {
        const xcb_window_t root = it.data->root;
        const std::vector<uint32_t> wm = Property32(c, root, check, XCB_ATOM_WINDOW);
        if (wm.empty() || Property32(c, wm[0], check, XCB_ATOM_WINDOW) != wm) continue;
        const std::vector<uint32_t> atoms = Property32(c, root, supported, XCB_ATOM_ATOM);
        const auto has = [&](xcb_atom_t a) { return std::find(atoms.begin(), atoms.end(), a) != atoms.end(); };
        if (has(vert) && has(horz)) return true;
    }
    return false;
}

#endif

}  // namespace

bool WindowManagerMaximizes() {
    const QString platform = QGuiApplication::platformName();
#ifdef ZELVANO_X11
    if (platform == QLatin1String("xcb")) {
        xcb_connection_t* c = X11Connection();
        return c && X11WindowManagerMaximizes(c);
    }
#endif
    // Displays that are the whole screen of one program; any other has a
    // window manager or a compositor that places the windows.
    static const QStringList bare = {QStringLiteral("offscreen"), QStringLiteral("minimal"), QStringLiteral("linuxfb"),
                                     QStringLiteral("eglfs"), QStringLiteral("vnc"), QStringLiteral("vkkhrdisplay")};
    return !bare.contains(platform);
}

bool WindowsCoverEachOther() {
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void SyncWithDisplay() {
#ifdef ZELVANO_X11
    // A request with a reply is answered only after every request before
    // it, the drawing included, has been carried out.
    if (xcb_connection_t* c = X11Connection()) std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
#endif
}

QRect NormalPlacement(const QRect& available) {
    const int width = available.width() * 3 / 4;
    const int height = available.height() * 3 / 4;
    return {available.x() + (available.width() - width) / 2, available.y() + (available.height() - height) / 2, width,
            height};
}
