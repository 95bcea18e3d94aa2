// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QHostAddress;

// Which peers the remote answers: this machine and the local network only.
namespace PeerRules {

// Loopback, private (10/8, 172.16/12, 192.168/16, IPv6 unique-local fc00::/7) and link-local
// (169.254/16, fe80::/10) addresses, also as IPv4-mapped IPv6.
bool isLocalNetwork(const QHostAddress &address);

} // namespace PeerRules
