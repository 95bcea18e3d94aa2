// SPDX-License-Identifier: GPL-3.0-or-later
#include "TrayButtons.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <cstdint>
#include <optional>
#include <utility>

namespace TrayButtons {

namespace {

// Qt's icon window in the notification area.
bool isTrayIconWindow(xcb_window_t window)
{
    const QWidget *const widget = QWidget::find(WId(window));
    return widget && widget->inherits("QSystemTrayIconSys");
}

std::optional<Qt::MouseButton> buttonOf(std::uint32_t detail)
{
    switch (detail) {
    case 1:
        return Qt::LeftButton;
    case 2:
        return Qt::MiddleButton;
    case 3:
        return Qt::RightButton;
    default:
        return std::nullopt; // wheel and extra buttons: left to Qt
    }
}

struct ButtonEvent
{
    bool press = false;
    xcb_window_t window = XCB_WINDOW_NONE;
    std::uint32_t detail = 0;
    std::int64_t time = 0;
    QPoint position;
};

// Qt takes the pointer through the input extension where the server has it, else as core
// events; both kinds are read.
std::optional<ButtonEvent> buttonEvent(const xcb_generic_event_t *event, std::uint8_t inputOpcode)
{
    const auto type = event->response_type & 0x7F;
    if (type == XCB_BUTTON_PRESS || type == XCB_BUTTON_RELEASE) {
        // Press and release share one layout.
        const auto *const core = reinterpret_cast<const xcb_button_press_event_t *>(event);
        return ButtonEvent{type == XCB_BUTTON_PRESS, core->event, core->detail, core->time,
                           QPoint(core->root_x, core->root_y)};
    }
    if (type != XCB_GE_GENERIC || inputOpcode == 0)
        return std::nullopt;
    const auto *const generic = reinterpret_cast<const xcb_ge_generic_event_t *>(event);
    if (generic->extension != inputOpcode || (generic->event_type != XCB_INPUT_BUTTON_PRESS &&
                                              generic->event_type != XCB_INPUT_BUTTON_RELEASE))
        return std::nullopt;
    const auto *const input = reinterpret_cast<const xcb_input_button_press_event_t *>(event);
    // Root coordinates are 16.16 fixed point.
    return ButtonEvent{input->event_type == XCB_INPUT_BUTTON_PRESS, input->event, input->detail,
                       input->time, QPoint(input->root_x >> 16, input->root_y >> 16)};
}

std::uint8_t inputExtensionOpcode()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t *const connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return 0;
    const xcb_query_extension_reply_t *const reply =
        xcb_get_extension_data(connection, &xcb_input_id);
    return reply && reply->present ? reply->major_opcode : 0;
}

class Filter : public QObject, public QAbstractNativeEventFilter
{
public:
    Filter(QObject *owner, Handlers handlers)
        : QObject(owner)
        , m_handlers(std::move(handlers))
        , m_inputOpcode(inputExtensionOpcode())
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~Filter() override { QCoreApplication::instance()->removeNativeEventFilter(this); }
    Filter(const Filter &) = delete;
    Filter &operator=(const Filter &) = delete;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const std::optional<ButtonEvent> button =
            buttonEvent(static_cast<const xcb_generic_event_t *>(message), m_inputOpcode);
        if (!button)
            return false;
        const std::optional<Qt::MouseButton> which = buttonOf(button->detail);
        if (!which || !isTrayIconWindow(button->window))
            return false;

        // The input extension reports a press for the master pointer and again for the
        // device under it, and may report the master's press and release before the
        // device's: one of each is taken.
        auto &last = button->press ? m_lastPress : m_lastRelease;
        const auto key = std::make_pair(button->detail, button->time);
        if (key == last)
            return true;
        last = key;

        // Handled after the event has been dispatched: the double click may show an
        // error box, which must not wait inside the native event dispatch.
        const QPoint position = button->position;
        const std::int64_t time = button->time;
        const bool press = button->press;
        QMetaObject::invokeMethod(
            this,
            [this, which = *which, press, time, position] {
                if (press)
                    m_handlers.pressed(which, time, position);
                else
                    m_handlers.released(which);
            },
            Qt::QueuedConnection);
        // Qt's own handling would pop the menu up on the press, and not at all while a
        // modal window is open.
        return true;
    }

private:
    const Handlers m_handlers;
    const std::uint8_t m_inputOpcode;
    std::pair<std::uint32_t, std::int64_t> m_lastPress{0, -1};
    std::pair<std::uint32_t, std::int64_t> m_lastRelease{0, -1};
};

} // namespace

void watch(QObject *owner, Handlers handlers)
{
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        new Filter(owner, std::move(handlers));
}

} // namespace TrayButtons
