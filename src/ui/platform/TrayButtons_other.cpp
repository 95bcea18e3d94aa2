// SPDX-License-Identifier: GPL-3.0-or-later
#include "TrayButtons.h"

namespace TrayButtons {

void watch(QObject *, Handlers) {}

} // namespace TrayButtons
