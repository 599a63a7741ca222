// The program's settings from outside: environment variables for the Qt,
// Win32 and headless back ends (support/environment_settings.cpp), the
// page's address for the web one (platform/web/web_settings.cpp).
#pragma once

namespace zemka::platform {

// The value of a setting, or null when it is not set.
const char *setting(const char *name);
// A flag counts as set when its value is neither empty nor "0".
bool setting_flag(const char *name);

}  // namespace zemka::platform
