// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The control token: 128 bits from the system's generator as 32 hex digits, and its
// comparison in time that does not depend on where the texts differ.
namespace RemoteToken {

QByteArray generate();
bool equals(QByteArrayView expected, QByteArrayView given);

} // namespace RemoteToken
