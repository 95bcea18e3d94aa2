#include "TrayButtons.h"

namespace TrayButtons {

void watch(TrayIcon *) {}

} // namespace TrayButtons
