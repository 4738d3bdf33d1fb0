#include "app/classview/qr_code.h"

#include <qrencode.h>

#include <QPainter>
#include <algorithm>
#include <memory>

namespace app::classview {
namespace {

constexpr int kQuietZone = 4;

struct FreeCode {
    void operator()(QRcode* code) const { QRcode_free(code); }
};

}  // namespace

QImage qrCode(const QByteArray& text, int moduleSize) {
    moduleSize = std::max(moduleSize, kSmallestModule);
    // Medium error correction: a code on a projector or a screen seen at an
    // angle still reads.
    const std::unique_ptr<QRcode, FreeCode> code(
        QRcode_encodeString8bit(text.constData(), 0, QR_ECLEVEL_M));
    if (!code) return {};
    const int width = code->width;
    const int side = (width + 2 * kQuietZone) * moduleSize;
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int y = 0; y < width; ++y)
        for (int x = 0; x < width; ++x)
            if (code->data[y * width + x] & 1)
                painter.fillRect((x + kQuietZone) * moduleSize, (y + kQuietZone) * moduleSize, moduleSize,
                                 moduleSize, Qt::black);
    return image;
}

}  // namespace app::classview
