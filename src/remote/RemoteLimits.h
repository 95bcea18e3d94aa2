// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>

// The remote's bounds, in one place: what a client may send and how long it may take.
namespace RemoteLimits {

inline constexpr std::uint16_t defaultPort = 8760;
// The request line, the header block, a request body and a WebSocket message each.
inline constexpr int maxPart = 8 * 1024;
inline constexpr int maxHeaders = 64;
// A connection that has not sent a whole request by then is closed.
inline constexpr std::chrono::seconds requestTimeout{10};
inline constexpr int maxConnections = 200;
// Wrong tokens from one address before it is refused, and for how long.
inline constexpr int maxWrongTokens = 10;
inline constexpr std::chrono::seconds refusal{60};
// A view page says the link is lost after 3 s without news; the server speaks every second.
inline constexpr std::chrono::milliseconds heartbeat{1000};
// The seconds a start may ask for (99:59:59, as the duration fields allow) and an add.
inline constexpr std::int32_t maxSeconds = 99 * 3600 + 59 * 60 + 59;
inline constexpr int maxMessageLength = 200;

} // namespace RemoteLimits
