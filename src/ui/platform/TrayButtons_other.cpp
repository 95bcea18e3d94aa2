#include "TrayButtons.h"

namespace TrayButtons {

void watch(QObject *, Handlers) {}

} // namespace TrayButtons
