#include "peers.h"

#include <cairo.h>

#include <QBrush>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <cmath>

namespace bench {

namespace {

QPoint device(int x, int y) { return {CENTRE_X + x, CENTRE_Y - y}; }

zemka::raster::Pixmap pixmap_of(std::vector<std::uint32_t> &pixels) {
    return {pixels.data(), CANVAS_W, CANVAS_H, CANVAS_W};
}

}  // namespace

QPainterPeer::QPainterPeer() : pixels_(static_cast<std::size_t>(CANVAS_W) * CANVAS_H, 0xff000000u) {}

void QPainterPeer::draw(const std::vector<Prim> &list) {
    QImage image(reinterpret_cast<uchar *>(pixels_.data()), CANVAS_W, CANVAS_H, CANVAS_W * 4, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (const Prim &prim : list) {
        const QColor color = QColor::fromRgb(rgb_of(prim.color));
        if (prim.kind == Prim::Text) {
            draw_text_shared(pixmap_of(pixels_), prim);
            continue;
        }
        QPen pen(color, prim.width > 0 ? prim.width : 1);
        if (prim.kind == Prim::Line) pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        p.setPen(pen);
        p.setBrush(prim.width == 0 ? QBrush(color) : QBrush(Qt::NoBrush));
        switch (prim.kind) {
            case Prim::Rect: p.drawRect(QRect(device(prim.x1, prim.y1), device(prim.x2, prim.y2))); break;
            case Prim::Oval: p.drawEllipse(QRect(device(prim.x1, prim.y1), device(prim.x2, prim.y2))); break;
            case Prim::Triangle: {
                const QPoint points[3] = {device(prim.x1, prim.y1), device(prim.x2, prim.y2), device(prim.x3, prim.y3)};
                p.drawPolygon(points, 3);
                break;
            }
            case Prim::Line: p.drawLine(device(prim.x1, prim.y1), device(prim.x2, prim.y2)); break;
            case Prim::Text: break;
        }
    }
}

CairoPeer::CairoPeer() : pixels_(static_cast<std::size_t>(CANVAS_W) * CANVAS_H, 0xff000000u) {
    surface_ = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char *>(pixels_.data()),
                                                   CAIRO_FORMAT_RGB24, CANVAS_W, CANVAS_H, CANVAS_W * 4);
}

CairoPeer::~CairoPeer() { cairo_surface_destroy(static_cast<cairo_surface_t *>(surface_)); }

void CairoPeer::draw(const std::vector<Prim> &list) {
    auto *surface = static_cast<cairo_surface_t *>(surface_);
    cairo_t *cr = cairo_create(surface);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    for (const Prim &prim : list) {
        if (prim.kind == Prim::Text) {
            cairo_surface_flush(surface);
            draw_text_shared(pixmap_of(pixels_), prim);
            cairo_surface_mark_dirty(surface);
            continue;
        }
        const std::uint32_t c = rgb_of(prim.color);
        cairo_set_source_rgb(cr, ((c >> 16) & 0xff) / 255.0, ((c >> 8) & 0xff) / 255.0, (c & 0xff) / 255.0);
        cairo_set_line_width(cr, prim.width > 0 ? prim.width : 1);
        const QPoint a = device(prim.x1, prim.y1), b = device(prim.x2, prim.y2);
        // Pixel centres sit at half coordinates.
        switch (prim.kind) {
            case Prim::Rect: cairo_rectangle(cr, a.x() + 0.5, a.y() + 0.5, b.x() - a.x(), b.y() - a.y()); break;
            case Prim::Oval:
                cairo_save(cr);
                cairo_translate(cr, (a.x() + b.x()) / 2.0 + 0.5, (a.y() + b.y()) / 2.0 + 0.5);
                cairo_scale(cr, std::max(1, b.x() - a.x()) / 2.0, std::max(1, b.y() - a.y()) / 2.0);
                cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
                cairo_restore(cr);
                break;
            case Prim::Triangle: {
                const QPoint d = device(prim.x3, prim.y3);
                cairo_move_to(cr, a.x() + 0.5, a.y() + 0.5);
                cairo_line_to(cr, b.x() + 0.5, b.y() + 0.5);
                cairo_line_to(cr, d.x() + 0.5, d.y() + 0.5);
                cairo_close_path(cr);
                break;
            }
            case Prim::Line:
                cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
                cairo_move_to(cr, a.x() + 0.5, a.y() + 0.5);
                cairo_line_to(cr, b.x() + 0.5, b.y() + 0.5);
                cairo_stroke(cr);
                cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
                continue;
            case Prim::Text: break;
        }
        // A filled figure gets its one-pixel outline too; an outline only the stroke.
        if (prim.width == 0) {
            cairo_fill_preserve(cr);
            cairo_set_line_width(cr, 1);
        }
        cairo_stroke(cr);
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface);
}

}  // namespace bench
