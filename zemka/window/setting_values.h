// Reading the values of the run settings (environment variables).
#pragma once

namespace zemka {

// The value of a setting as a whole positive number, or 0 when it is not
// one.
long positive_number(const char *text);

}  // namespace zemka
