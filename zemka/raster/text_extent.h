// The sizes text is measured in, by the drawing API (gdi.h) and by the
// text engines that measure for it (zemka/platform/text_engine.h), which
// need no more of the drawing API than these.
#pragma once

#include <cstdint>

namespace zemka::gdi {

struct Size {
    std::int64_t cx = 0;
    std::int64_t cy = 0;
};
struct TextMetrics {
    int height = 0;
    int external_leading = 0;
};

}  // namespace zemka::gdi
