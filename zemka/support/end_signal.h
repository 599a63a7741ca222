// The signal that asked the program to end, 0 while none came: set by the
// library's handler (zemka/window/end_signals.cpp), read by whatever could
// otherwise keep the program waiting (a dialog's loop, an answer read from
// standard input), which then gives up so the program reaches its quit.
#pragma once

#include <csignal>

namespace zemka::support {

inline volatile std::sig_atomic_t end_signal = 0;

}  // namespace zemka::support
