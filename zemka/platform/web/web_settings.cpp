// Settings from the page: its address's play=... is ZEMKA_PLAY, and so on
// (the page half reads the address; the playground gives its own). A value is read once and
// kept, so the pointer handed out stays valid for the run.
#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <string>

#include "zemka/platform/settings.h"
#include "zemka/platform/web/web_bridge.h"

namespace zemka::platform {

const char *setting(const char *name) {
    if (!name) return nullptr;
    // Snapshots would only pile up in the page's in-memory files, where
    // nobody sees them: "Save picture" stands in for them.
    if (std::strcmp(name, "ZEMKA_SNAPSHOT") == 0 || std::strcmp(name, "ZEMKA_SNAPSHOT_EVERY") == 0) return nullptr;
    static std::map<std::string, std::optional<std::string>> known;
    auto it = known.find(name);
    if (it == known.end()) {
        std::optional<std::string> value;
        std::string buffer(256, '\0');
        int length = zemka_web_setting(name, buffer.data(), static_cast<int>(buffer.size()));
        if (length > static_cast<int>(buffer.size())) {
            buffer.assign(static_cast<std::size_t>(length), '\0');
            length = zemka_web_setting(name, buffer.data(), length);
        }
        if (length >= 0) value = buffer.substr(0, std::min(static_cast<std::size_t>(length), buffer.size()));
        it = known.emplace(name, std::move(value)).first;
    }
    return it->second ? it->second->c_str() : nullptr;
}

bool setting_flag(const char *name) {
    const char *value = setting(name);
    return value && *value && std::strcmp(value, "0") != 0;
}

}  // namespace zemka::platform
