#include "zemka/support/offered_file.h"

namespace zemka::support {

namespace {
FileTaker file_taker = nullptr;
}

void set_file_taker(FileTaker taker) { file_taker = taker; }

void offer_file(const char *path) {
    if (file_taker && path && *path) file_taker(path);
}

}  // namespace zemka::support
