#pragma once
// A QR code as a picture (libqrencode): black modules of `moduleSize`
// pixels on white, with the four-module quiet zone a reader needs. Large
// modules (8 px and more) let a phone read it across a classroom.
#include <QByteArray>
#include <QImage>

namespace app::classview {

inline constexpr int kSmallestModule = 8;

// A null image when the text cannot be encoded.
QImage qrCode(const QByteArray& text, int moduleSize = kSmallestModule);

}  // namespace app::classview
