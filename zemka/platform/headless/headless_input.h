// The one input of the headless back end besides replays: the answer of
// an open dialog, read from standard input (headless_dialog.cpp).
#pragma once

namespace zemka::platform {

// Reports the answer of the dialog shown, once: true when it did.
bool answer_waiting_dialog();

}  // namespace zemka::platform
