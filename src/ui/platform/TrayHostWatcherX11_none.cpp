// SPDX-License-Identifier: GPL-3.0-or-later
#include "TrayHostWatcherX11.h"

// Built without the XFixes client library: nothing reports the notification area.
namespace {

class SilentWatcher : public TrayHostWatcher
{
public:
    explicit SilentWatcher(QObject *parent)
        : TrayHostWatcher(parent)
    {}

    bool isWatching() const override { return false; }
};

} // namespace

TrayHostWatcher *TrayHostWatcherX11::create(QObject *parent)
{
    return new SilentWatcher(parent);
}
