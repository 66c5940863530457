#include "ScreenPicture.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace packagetest {

namespace {

struct FreeDeleter {
    void operator()(void *p) const { std::free(p); }
};

struct DisconnectDeleter {
    void operator()(xcb_connection_t *c) const { xcb_disconnect(c); }
};

struct OpaquePixel {
    int x;
    int y;
    QRgb colour;
};

constexpr int kTolerance = 8;

bool near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) <= kTolerance && std::abs(qGreen(a) - qGreen(b)) <= kTolerance
        && std::abs(qBlue(a) - qBlue(b)) <= kTolerance;
}

// The root window's pixels, or a null image with the reason.
QImage grabScreen(const QByteArray &display, QString *why)
{
    std::unique_ptr<xcb_connection_t, DisconnectDeleter> c(xcb_connect(display.constData(), nullptr));
    if (xcb_connection_has_error(c.get())) {
        *why = QStringLiteral("cannot reach the X server ") + QString::fromLatin1(display);
        return {};
    }
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c.get())).data;
    const int width = screen->width_in_pixels;
    const int height = screen->height_in_pixels;
    std::unique_ptr<xcb_get_image_reply_t, FreeDeleter> reply(xcb_get_image_reply(
        c.get(), xcb_get_image(c.get(), XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, 0, 0, width, height, ~0u), nullptr));
    // A 24-bit screen comes as 32 bits a pixel in the byte order of QImage::Format_RGB32.
    if (!reply || reply->depth != 24 || xcb_get_image_data_length(reply.get()) != width * height * 4) {
        *why = QStringLiteral("the screen is not readable as 24-bit pixels");
        return {};
    }
    QImage image(width, height, QImage::Format_RGB32);
    std::memcpy(image.bits(), xcb_get_image_data(reply.get()), std::size_t(width) * height * 4);
    return image;
}

} // namespace

std::optional<QPoint> findOnScreen(const QByteArray &display, const QImage &picture, QString *why)
{
    const QImage screen = grabScreen(display, why);
    if (screen.isNull())
        return std::nullopt;
    const QImage wanted = picture.convertToFormat(QImage::Format_ARGB32);
    std::vector<OpaquePixel> opaque;
    for (int y = 0; y < wanted.height(); ++y)
        for (int x = 0; x < wanted.width(); ++x)
            if (qAlpha(wanted.pixel(x, y)) == 255)
                opaque.push_back({x, y, wanted.pixel(x, y)});
    if (opaque.empty()) {
        *why = QStringLiteral("the picture has no opaque pixel to look for");
        return std::nullopt;
    }
    for (int top = 0; top + wanted.height() <= screen.height(); ++top) {
        for (int left = 0; left + wanted.width() <= screen.width(); ++left) {
            bool all = true;
            for (const OpaquePixel &p : opaque) {
                if (!near(screen.pixel(left + p.x, top + p.y), p.colour)) {
                    all = false;
                    break;
                }
            }
            if (all)
                return QPoint(left + wanted.width() / 2, top + wanted.height() / 2);
        }
    }
    return std::nullopt;
}

} // namespace packagetest
