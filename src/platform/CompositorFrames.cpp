#include "platform/CompositorFrames.h"

#include <dlfcn.h>

#include <cstdint>

namespace zw::platform {

namespace {

// The few calls of libwayland-client that listing the globals takes, with
// the library's own types left opaque.
struct WlDisplay;
struct WlProxy;
struct WlInterface;

struct RegistryListener {
    void (*global)(void* data, WlProxy* registry, std::uint32_t name, const char* interface,
                   std::uint32_t version);
    void (*globalRemove)(void* data, WlProxy* registry, std::uint32_t name);
};

constexpr std::uint32_t DisplayGetRegistry = 1; // wl_display.get_registry

void noteGlobal(void* data, WlProxy*, std::uint32_t, const char* interface, std::uint32_t)
{
    static_cast<QStringList*>(data)->append(QString::fromLatin1(interface));
}

void ignoreRemoval(void*, WlProxy*, std::uint32_t) {}

} // namespace

bool framesFromCompositor(const QStringList& globals)
{
    return globals.contains(QStringLiteral("zxdg_decoration_manager_v1"))
        || globals.contains(QStringLiteral("org_kde_kwin_server_decoration_manager"));
}

QStringList waylandGlobals()
{
    void* library = dlopen("libwayland-client.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return {};
    const auto connect = reinterpret_cast<WlDisplay* (*)(const char*)>(dlsym(library, "wl_display_connect"));
    const auto disconnect = reinterpret_cast<void (*)(WlDisplay*)>(dlsym(library, "wl_display_disconnect"));
    const auto roundtrip = reinterpret_cast<int (*)(WlDisplay*)>(dlsym(library, "wl_display_roundtrip"));
    const auto marshal = reinterpret_cast<WlProxy* (*)(WlProxy*, std::uint32_t, const WlInterface*, ...)>(
        dlsym(library, "wl_proxy_marshal_constructor"));
    const auto addListener =
        reinterpret_cast<int (*)(WlProxy*, void (**)(void), void*)>(dlsym(library, "wl_proxy_add_listener"));
    const auto destroy = reinterpret_cast<void (*)(WlProxy*)>(dlsym(library, "wl_proxy_destroy"));
    const auto registryInterface = static_cast<const WlInterface*>(dlsym(library, "wl_registry_interface"));

    QStringList globals;
    if (connect && disconnect && roundtrip && marshal && addListener && destroy && registryInterface) {
        if (WlDisplay* display = connect(nullptr)) {
            static const RegistryListener listener{noteGlobal, ignoreRemoval};
            WlProxy* registry =
                marshal(reinterpret_cast<WlProxy*>(display), DisplayGetRegistry, registryInterface, nullptr);
            if (registry) {
                addListener(registry, reinterpret_cast<void (**)(void)>(const_cast<RegistryListener*>(&listener)),
                            &globals);
                if (roundtrip(display) < 0)
                    globals.clear();
                destroy(registry);
            }
            disconnect(display);
        }
    }
    dlclose(library);
    return globals;
}

} // namespace zw::platform
