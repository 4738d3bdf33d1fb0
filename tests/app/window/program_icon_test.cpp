// The program's icon: it is there for the windows, and it is our own drawing
// (the ammeter's yellow band with the red pointer), at any size.
#include "app/window/program_icon.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <gtest/gtest.h>

namespace {

TEST(ProgramIcon, WindowsGetTheBandMeterWithItsPointerAtEverySize) {
    app::window::setProgramIcon();
    const QIcon icon = QApplication::windowIcon();
    ASSERT_FALSE(icon.isNull()) << "the icon resource is missing, or Qt cannot read SVG (libqt6svg6)";
    for (const int size : {16, 48, 256}) {
        const QImage image = icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.width(), size);
        // Pointer: red, in the lower half of the yellow band, right of centre.
        const QColor pointer = image.pixelColor(size * 75 / 128, size * 85 / 128);
        EXPECT_GT(pointer.red(), 200) << size;
        EXPECT_LT(pointer.green(), 60) << size;
        // The band between two ticks, right of the middle: bright yellow.
        const QColor band = image.pixelColor(size * 70 / 128, size * 20 / 128);
        EXPECT_GT(band.red(), 180) << size;
        EXPECT_GT(band.green(), 180) << size;
        EXPECT_LT(band.blue(), 60) << size;
        // The corners stay transparent, so it sits on any desktop.
        EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0) << size;
    }
}

}  // namespace
