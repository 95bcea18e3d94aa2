// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <xcb/xcb.h>

#include <initializer_list>
#include <vector>

// Atoms by name, asked of the X server once per connection: an atom keeps its number for as
// long as the server runs, and each question is a round trip the window's thread waits for.
namespace X11Atoms {

// The atoms of names, in their order; XCB_ATOM_NONE for one the server gives none. Names not
// known yet are asked all at once, in one round trip.
std::vector<xcb_atom_t> intern(xcb_connection_t *connection,
                               std::initializer_list<const char *> names);
xcb_atom_t intern(xcb_connection_t *connection, const char *name);

} // namespace X11Atoms
