// The devices' part of the status line: which device is missing and since
// when, that it is back (for a few seconds), then nothing.
#include "app/status/device_status_bar.h"
#include "platform/wave/device_status.h"

#include <gtest/gtest.h>

namespace {

using namespace platform::wave;

TEST(DeviceStatusBar, SaysWhatIsMissingSinceWhenThenThatItIsBackThenNothing) {
    clearDeviceStatus();
    const auto now = std::chrono::system_clock::now();
    EXPECT_EQ(app::status::DeviceStatusBar::text(now), "");
    noteDeviceMissing(Direction::Input, "default", "Input/output error");
    const QString missing = app::status::DeviceStatusBar::text(std::chrono::system_clock::now());
    EXPECT_TRUE(missing.startsWith(QStringLiteral("Zvukové zařízení „default“ (záznam) není k dispozici od ")))
        << missing.toStdString();
    EXPECT_TRUE(missing.contains(QStringLiteral(":"))) << "the time it went away";
    noteDeviceBack(Direction::Input, "default");
    const auto back = std::chrono::system_clock::now();
    EXPECT_EQ(app::status::DeviceStatusBar::text(back),
              QStringLiteral("Zvukové zařízení „default“ (záznam) je zase připojeno."));
    EXPECT_EQ(app::status::DeviceStatusBar::text(back + std::chrono::seconds(6)), "");
    // The same device in both directions: one sentence.
    noteDeviceMissing(Direction::Input, "default", "gone");
    noteDeviceMissing(Direction::Output, "default", "gone");
    EXPECT_TRUE(
        app::status::DeviceStatusBar::text(std::chrono::system_clock::now())
            .startsWith(QStringLiteral("Zvukové zařízení „default“ (záznam i přehrávání) není k dispozici od ")));
    noteDeviceBack(Direction::Input, "default");
    noteDeviceBack(Direction::Output, "default");
    EXPECT_EQ(app::status::DeviceStatusBar::text(std::chrono::system_clock::now()),
              QStringLiteral("Zvukové zařízení „default“ (záznam i přehrávání) je zase připojeno."));
    clearDeviceStatus();
}

}  // namespace
