#include "zemka/platform/settings.h"

#include <cstdlib>
#include <cstring>

namespace zemka::platform {

const char *setting(const char *name) { return name ? std::getenv(name) : nullptr; }

bool setting_flag(const char *name) {
    const char *value = setting(name);
    return value && *value && std::strcmp(value, "0") != 0;
}

}  // namespace zemka::platform
