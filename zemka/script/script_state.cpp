#include "zemka/script/script_state.h"

namespace zemka {

unsigned char recording = 0;
unsigned char playing_continuous = 0;
unsigned char playing_once = 0;
int pending_periodic = 0;

}  // namespace zemka
