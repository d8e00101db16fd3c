#include "platform/XdgFolders.h"

#include <cstdlib>
#include <initializer_list>

namespace zw::platform {

void dropRelativeXdgFolders()
{
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
        const char* value = std::getenv(name);
        if (value && value[0] != '/')
            ::unsetenv(name);
    }
}

} // namespace zw::platform
