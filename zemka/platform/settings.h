// The program's settings from outside: environment variables on the
// desktop. A further back end (a web page's address, say) answers the
// same names from its own source.
#pragma once

namespace zemka::platform {

// The value of a setting, or null when it is not set.
const char *setting(const char *name);
// A flag counts as set when its value is neither empty nor "0".
bool setting_flag(const char *name);

}  // namespace zemka::platform
