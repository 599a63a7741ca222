#include <QImage>
#include <QString>
#include <algorithm>

#include "zemka/platform/image_file.h"

namespace zemka::platform {

bool save_png(const Dc *dc, int width, int height, const char *path) {
    const raster::Pixmap pm = dc_pixmap(dc);
    if (!pm.pixels || !path || !*path) return false;
    width = std::clamp(width, 0, pm.width);
    height = std::clamp(height, 0, pm.height);
    const QImage image(reinterpret_cast<const uchar *>(pm.pixels), width, height, pm.stride * 4, QImage::Format_RGB32);
    return image.save(QString::fromLocal8Bit(path), "PNG");
}

}  // namespace zemka::platform
