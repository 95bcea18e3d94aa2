// SPDX-License-Identifier: GPL-3.0-or-later
// Starts a program and prints the milliseconds until a window of it whose title begins with
// a given text is viewable, the milliseconds until that window is first painted, then the
// process id. The program is left running. The first paint is the first damage after which
// the window shows more than one colour: clearing the window to its background is damage
// too, but the user sees nothing yet.
//
//   window_start TITLE-PREFIX PROGRAM [ARGUMENT...]
//
// It waits on X events rather than polling the window tree, so that it takes no processor
// time from the program it measures: on a two-core machine a polling loop costs the
// program and the window manager a whole core.

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <poll.h>
#include <set>
#include <signal.h>
#include <string>
#include <unistd.h>

namespace {

template<typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template<typename T>
Reply<T> reply(T *raw)
{
    return Reply<T>(raw, &std::free);
}

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const auto answer = reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, std::uint16_t(std::strlen(name)), name),
        nullptr));
    return answer ? answer->atom : xcb_atom_t(XCB_ATOM_NONE);
}

std::string title(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t netWmName,
                  xcb_atom_t utf8String)
{
    for (const auto &[property, type] : {std::pair{netWmName, utf8String},
                                        std::pair{xcb_atom_t(XCB_ATOM_WM_NAME),
                                                  xcb_atom_t(XCB_ATOM_ANY)}}) {
        const auto answer = reply(xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, window, property, type, 0, 1024),
            nullptr));
        if (answer && xcb_get_property_value_length(answer.get()) > 0)
            return std::string(static_cast<const char *>(xcb_get_property_value(answer.get())),
                               std::size_t(xcb_get_property_value_length(answer.get())));
    }
    return {};
}

// Whether the window manager manages the window: a tray icon, also a window of the
// program's and often titled like it, is embedded in the tray instead.
bool managed(xcb_connection_t *connection, xcb_window_t window, xcb_atom_t wmState)
{
    const auto answer = reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, wmState, XCB_ATOM_ANY, 0, 2),
        nullptr));
    return answer && answer->type != XCB_ATOM_NONE;
}

bool viewable(xcb_connection_t *connection, xcb_window_t window)
{
    const auto answer = reply(xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, window), nullptr));
    return answer && answer->map_state == XCB_MAP_STATE_VIEWABLE;
}

void watch(xcb_connection_t *connection, xcb_window_t window, std::uint32_t mask)
{
    xcb_change_window_attributes(connection, window, XCB_CW_EVENT_MASK, &mask);
}

// Whether the window's contents on screen hold more than one colour.
bool drawn(xcb_connection_t *connection, const xcb_screen_t &screen, xcb_window_t window)
{
    const auto geometry = reply(xcb_get_geometry_reply(
        connection, xcb_get_geometry(connection, window), nullptr));
    const auto place = reply(xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, window, screen.root, 0, 0), nullptr));
    if (!geometry || !place)
        return false;
    // Only the part on the screen can be read.
    const int left = std::max(0, -int(place->dst_x));
    const int top = std::max(0, -int(place->dst_y));
    const int right = std::min(int(geometry->width), screen.width_in_pixels - place->dst_x);
    const int bottom = std::min(int(geometry->height), screen.height_in_pixels - place->dst_y);
    if (right <= left || bottom <= top)
        return false;
    const auto image = reply(xcb_get_image_reply(
        connection,
        xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, std::int16_t(left),
                      std::int16_t(top), std::uint16_t(right - left),
                      std::uint16_t(bottom - top), ~0u),
        nullptr));
    if (!image || geometry->depth < 24)
        return image != nullptr; // not a true-colour window: any damage counts
    const auto *pixels = reinterpret_cast<const std::uint32_t *>(xcb_get_image_data(image.get()));
    const int count = xcb_get_image_data_length(image.get()) / 4;
    for (int i = 1; i < count; ++i) {
        if ((pixels[i] & 0xffffff) != (pixels[0] & 0xffffff))
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: window_start TITLE-PREFIX PROGRAM [ARGUMENT...]\n");
        return 2;
    }
    const std::string prefix = argv[1];
    int screenNumber = 0;
    xcb_connection_t *connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "window_start: no X display\n");
        return 2;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&screens);
    const xcb_window_t root = screens.data->root;
    const xcb_atom_t netWmName = atom(connection, "_NET_WM_NAME");
    const xcb_atom_t utf8String = atom(connection, "UTF8_STRING");
    const xcb_atom_t wmState = atom(connection, "WM_STATE");

    // Every top-level window the program creates is reported here before it can be mapped.
    watch(connection, root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY);
    const xcb_query_extension_reply_t *damage = xcb_get_extension_data(connection, &xcb_damage_id);
    if (!damage || !damage->present) {
        std::fprintf(stderr, "window_start: the X server has no DAMAGE extension\n");
        return 2;
    }
    reply(xcb_damage_query_version_reply(
        connection, xcb_damage_query_version(connection, 1, 1), nullptr));
    // A round trip, so the watch holds before the program starts.
    reply(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));

    signal(SIGCHLD, SIG_DFL);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        close(xcb_get_file_descriptor(connection));
        // The program's output goes with this one's messages, so that a caller reading the
        // result through a pipe does not wait for the program to end.
        dup2(STDERR_FILENO, STDOUT_FILENO);
        execvp(argv[2], argv + 2);
        _exit(127);
    }

    // Windows of interest: those created at the top level, and the frames the window
    // manager puts them in. A window is checked whenever it or its frame maps, and its
    // title when it is checked.
    std::set<xcb_window_t> clients;
    using Clock = std::chrono::steady_clock;
    // The first damage after which the window showed more than one colour, and the latest
    // damage not yet looked at.
    std::map<xcb_window_t, Clock::time_point> firstDamage;
    std::map<xcb_window_t, Clock::time_point> lastDamage;
    int plainLooks = 0;
    std::map<xcb_damage_damage_t, xcb_window_t> damageWindow;
    std::optional<std::pair<xcb_window_t, Clock::time_point>> shown;
    const auto check = [&](xcb_window_t window) {
        return viewable(connection, window)
               && title(connection, window, netWmName, utf8String).rfind(prefix, 0) == 0
               && managed(connection, window, wmState);
    };
    const auto ms = [&](Clock::time_point at) {
        return std::chrono::duration<double, std::milli>(at - start).count();
    };
    // Done once the window shows and has been drawn into, in either order.
    const auto finished = [&] {
        if (!shown)
            return false;
        const auto painted = firstDamage.find(shown->first);
        if (painted == firstDamage.end())
            return false;
        std::printf("%.1f %.1f %d\n", ms(shown->second),
                    ms(std::max(painted->second, shown->second)), int(child));
        return true;
    };
    const auto show = [&](xcb_window_t window) {
        if (!shown && check(window))
            shown.emplace(window, Clock::now());
    };

    pollfd descriptor{xcb_get_file_descriptor(connection), POLLIN, 0};
    for (;;) {
        if (const auto elapsed = std::chrono::steady_clock::now() - start;
            elapsed > std::chrono::seconds(30)) {
            std::fprintf(stderr,
                         "window_start: no window, or none drawn, within 30 s (shown: %x; "
                         "%d clients, %d looks at one colour)\n",
                         shown ? shown->first : 0u, int(clients.size()), plainLooks);
            kill(child, SIGTERM);
            return 1;
        }
        xcb_generic_event_t *raw = xcb_poll_for_event(connection);
        if (!raw) {
            if (xcb_connection_has_error(connection))
                return 1;
            poll(&descriptor, 1, 100);
            continue;
        }
        const auto event = reply(raw);
        switch (event->response_type & 0x7f) {
        case XCB_CREATE_NOTIFY: {
            const auto *created = reinterpret_cast<xcb_create_notify_event_t *>(event.get());
            if (created->parent != root)
                break;
            clients.insert(created->window);
            // The window manager marks a window it manages (WM_STATE) as it maps it, but
            // not always before: its properties are watched too.
            watch(connection, created->window,
                  XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE);
            if (!created->override_redirect) {
                const xcb_damage_damage_t id = xcb_generate_id(connection);
                xcb_damage_create(connection, id, created->window,
                                  XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                damageWindow.emplace(id, created->window);
            }
            show(created->window); // mapped before the watch took hold
            break;
        }
        case XCB_REPARENT_NOTIFY: {
            const auto *moved = reinterpret_cast<xcb_reparent_notify_event_t *>(event.get());
            if (clients.contains(moved->window) && moved->parent != root) {
                // The frame maps after the window inside it; its map is what shows both.
                watch(connection, moved->parent, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY);
                show(moved->window);
            }
            break;
        }
        case XCB_PROPERTY_NOTIFY: {
            const auto *changed = reinterpret_cast<xcb_property_notify_event_t *>(event.get());
            if (clients.contains(changed->window))
                show(changed->window);
            break;
        }
        case XCB_MAP_NOTIFY: {
            // A client or the frame around one: either may be the last map that shows it.
            for (const xcb_window_t client : clients)
                show(client);
            break;
        }
        default:
            if ((event->response_type & 0x7f) == damage->first_event + XCB_DAMAGE_NOTIFY) {
                const auto *notice = reinterpret_cast<xcb_damage_notify_event_t *>(event.get());
                const auto window = damageWindow.find(notice->damage);
                if (window == damageWindow.end() || firstDamage.contains(window->second))
                    break;
                lastDamage[window->second] = Clock::now();
                // Repaired, so that the next drawing is reported too.
                xcb_damage_subtract(connection, notice->damage, XCB_NONE, XCB_NONE);
            }
            break;
        }
        // The shown window's contents are looked at after each drawing into it; drawn
        // before it showed, they are looked at when it shows.
        if (shown && !firstDamage.contains(shown->first)) {
            if (const auto damaged = lastDamage.find(shown->first); damaged != lastDamage.end()) {
                const auto at = damaged->second;
                lastDamage.erase(damaged);
                if (drawn(connection, *screens.data, shown->first))
                    firstDamage.emplace(shown->first, at);
                else
                    ++plainLooks;
            }
        }
        if (finished())
            return 0;
    }
}
