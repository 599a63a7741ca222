// The signals that ask a program to end (SIGINT from Ctrl+C, SIGTERM from
// timeout, kill or a logout, SIGHUP when its terminal goes) end it by its
// own quit path: the handler only notes the signal, and the library turns
// the note into ZEMKA_QUIT at the next wait, so the snapshot and the
// animation are written whole at the stop or exit that follows. Once they
// are, the program ends by the signal after all, as its caller expects. A
// program that does not come back to the library within a few seconds,
// or gets a second such signal, ends at once as the signal would end it.
#pragma once

namespace zemka::end_signals {

// Takes over the signals that still have their default action (one that
// is ignored, as for a program started in the background or under nohup,
// or that the program handles itself, stays so); once per process.
void install();
// The signal that asked the program to end, 0 while none came. The first
// caller to see it writes one line saying so.
int requested();
// The library's stop or exit has begun: the program ends its own way, and
// the few seconds' limit no longer applies.
void ending();

}  // namespace zemka::end_signals
