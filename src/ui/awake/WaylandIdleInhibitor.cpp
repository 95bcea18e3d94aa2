// SPDX-License-Identifier: GPL-3.0-or-later
#include "WaylandIdleInhibitor.h"

#ifdef TARVIK_HAVE_IDLE_INHIBIT

#include "idle-inhibit-unstable-v1-client-protocol.h"

#include <QGuiApplication>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>

#include <wayland-client.h>

#include <cstring>

// The protocol's objects live on a queue of their own, so that asking the registry for
// the manager does not dispatch the events of Qt's objects.
struct WaylandIdleInhibitor::Objects
{
    wl_display *display = nullptr;
    wl_surface *surface = nullptr;
    wl_event_queue *queue = nullptr;
    wl_display *wrapper = nullptr;
    wl_registry *registry = nullptr;
    zwp_idle_inhibit_manager_v1 *manager = nullptr;
    zwp_idle_inhibitor_v1 *inhibitor = nullptr;

    ~Objects()
    {
        if (inhibitor)
            zwp_idle_inhibitor_v1_destroy(inhibitor);
        if (manager)
            zwp_idle_inhibit_manager_v1_destroy(manager);
        if (registry)
            wl_registry_destroy(registry);
        if (wrapper)
            wl_proxy_wrapper_destroy(wrapper);
        if (display)
            wl_display_flush(display);
        if (queue)
            wl_event_queue_destroy(queue);
    }

    static void global(void *data, wl_registry *registry, uint32_t name, const char *interface,
                       uint32_t)
    {
        auto *self = static_cast<Objects *>(data);
        if (!self->manager &&
            std::strcmp(interface, zwp_idle_inhibit_manager_v1_interface.name) == 0)
            self->manager = static_cast<zwp_idle_inhibit_manager_v1 *>(
                wl_registry_bind(registry, name, &zwp_idle_inhibit_manager_v1_interface, 1));
    }
    static void globalRemove(void *, wl_registry *, uint32_t) {}
};

std::unique_ptr<WaylandIdleInhibitor> WaylandIdleInhibitor::create(QWindow *window)
{
    if (!window || !QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return nullptr;
    QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
    if (!native)
        return nullptr;
    auto objects = std::make_unique<Objects>();
    objects->display =
        static_cast<wl_display *>(native->nativeResourceForIntegration("wl_display"));
    objects->surface =
        static_cast<wl_surface *>(native->nativeResourceForWindow("surface", window));
    if (!objects->display || !objects->surface)
        return nullptr;
    objects->queue = wl_display_create_queue(objects->display);
    objects->wrapper = static_cast<wl_display *>(wl_proxy_create_wrapper(objects->display));
    wl_proxy_set_queue(reinterpret_cast<wl_proxy *>(objects->wrapper), objects->queue);
    objects->registry = wl_display_get_registry(objects->wrapper);
    static const wl_registry_listener listener{&Objects::global, &Objects::globalRemove};
    wl_registry_add_listener(objects->registry, &listener, objects.get());
    // The compositor is on this machine and answers at once.
    if (wl_display_roundtrip_queue(objects->display, objects->queue) < 0 || !objects->manager)
        return nullptr;
    return std::unique_ptr<WaylandIdleInhibitor>(new WaylandIdleInhibitor(std::move(objects)));
}

WaylandIdleInhibitor::WaylandIdleInhibitor(std::unique_ptr<Objects> objects)
    : m_objects(std::move(objects))
{}

WaylandIdleInhibitor::~WaylandIdleInhibitor() = default;

void WaylandIdleInhibitor::hold()
{
    if (m_objects->inhibitor)
        return;
    m_objects->inhibitor =
        zwp_idle_inhibit_manager_v1_create_inhibitor(m_objects->manager, m_objects->surface);
    wl_display_flush(m_objects->display);
}

void WaylandIdleInhibitor::release()
{
    if (!m_objects->inhibitor)
        return;
    zwp_idle_inhibitor_v1_destroy(m_objects->inhibitor);
    m_objects->inhibitor = nullptr;
    wl_display_flush(m_objects->display);
}

#else

struct WaylandIdleInhibitor::Objects
{
};

std::unique_ptr<WaylandIdleInhibitor> WaylandIdleInhibitor::create(QWindow *)
{
    return nullptr;
}

WaylandIdleInhibitor::WaylandIdleInhibitor(std::unique_ptr<Objects> objects)
    : m_objects(std::move(objects))
{}

WaylandIdleInhibitor::~WaylandIdleInhibitor() = default;
void WaylandIdleInhibitor::hold()
{}
void WaylandIdleInhibitor::release()
{}

#endif
