// SPDX-License-Identifier: GPL-3.0-or-later
#include "X11Atoms.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>

namespace X11Atoms {

namespace {

struct Known
{
    xcb_connection_t *connection = nullptr;
    std::map<std::string, xcb_atom_t> atoms;
};

// The window's thread only, like every X request of the program.
Known &known(xcb_connection_t *connection)
{
    static Known cache;
    if (cache.connection != connection) {
        cache.connection = connection;
        cache.atoms.clear();
    }
    return cache;
}

} // namespace

std::vector<xcb_atom_t> intern(xcb_connection_t *connection,
                               std::initializer_list<const char *> names)
{
    Known &cache = known(connection);
    // Every question first, then every answer: one round trip for them all.
    std::vector<std::pair<std::string, xcb_intern_atom_cookie_t>> asked;
    for (const char *name : names) {
        const bool pending = std::any_of(asked.cbegin(), asked.cend(),
                                         [name](const auto &each) { return each.first == name; });
        if (cache.atoms.count(name) == 0 && !pending)
            asked.emplace_back(
                name, xcb_intern_atom(connection, 0, std::uint16_t(std::strlen(name)), name));
    }
    for (const auto &[name, cookie] : asked) {
        const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
        // A failed question is not kept: the next one asks again.
        if (reply)
            cache.atoms.emplace(name, reply->atom);
    }
    std::vector<xcb_atom_t> atoms;
    atoms.reserve(names.size());
    for (const char *name : names) {
        const auto found = cache.atoms.find(name);
        atoms.push_back(found != cache.atoms.end() ? found->second : xcb_atom_t(XCB_ATOM_NONE));
    }
    return atoms;
}

xcb_atom_t intern(xcb_connection_t *connection, const char *name)
{
    return intern(connection, {name}).front();
}

} // namespace X11Atoms
