// The ALSA driver without a sound server: ALSA's error codes become our result
// codes and texts in one place, an unknown PCM is refused with a text naming
// it, and the device list has its three sections with the defaults marked.
#include "platform/wave/alsa/alsa_driver.h"
#include "platform/wave/alsa/alsa_error.h"
#include "platform/wave/alsa/device_list.h"
#include "platform/wave/device_status.h"
#include "platform/wave/driver_registry.h"
#include "platform/wave/wave_api.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace {

using namespace platform;
using namespace platform::win;
using namespace platform::wave;
using namespace platform::wave::alsa;

bool contains(const std::string& s, const std::string& part) { return s.find(part) != std::string::npos; }

TEST(WaveAlsaError, CodesAndTextsFollowWhatFailed) {
    struct Case {
        AlsaStep step;
        int err;
        MMRESULT code;
    };
    const Case cases[] = {
        {AlsaStep::Open, -EBUSY, MMSYSERR_ALLOCATED},         {AlsaStep::Open, -ENOENT, MMSYSERR_BADDEVICEID},
        {AlsaStep::Open, -ENOMEM, MMSYSERR_NOMEM},            {AlsaStep::Open, -EACCES, MMSYSERR_NOTENABLED},
        {AlsaStep::Format, -EINVAL, WAVERR_BADFORMAT},        {AlsaStep::Format, -ENODEV, MMSYSERR_NODRIVER},
        {AlsaStep::Start, -EIO, MMSYSERR_NODRIVER},           {AlsaStep::Transfer, -ENODEV, MMSYSERR_NODRIVER},
        {AlsaStep::Transfer, -ESTRPIPE, MMSYSERR_NODRIVER},   {AlsaStep::Transfer, -EINVAL, MMSYSERR_ERROR},
    };
    for (const Case& c : cases) EXPECT_EQ(alsaFailure(c.step, Direction::Input, "hw:1", c.err).code, c.code) << c.err;
    EXPECT_EQ(alsaFailure(AlsaStep::Open, Direction::Input, "hw:1", 0).code, MMSYSERR_NOERROR);
    EXPECT_EQ(alsaFailure(AlsaStep::Open, Direction::Input, "hw:1", 0).text, "");

    const std::string format =
        alsaFailure(AlsaStep::Format, Direction::Output, "hw:1", -EINVAL, "22050 Hz, 1 channel, 16-bit").text;
    EXPECT_EQ(format, "The ALSA playback device 'hw:1' cannot play 22050 Hz, 1 channel, 16-bit: Invalid argument");
    EXPECT_EQ(alsaFailure(AlsaStep::Open, Direction::Input, "usb", -EBUSY).text,
              "Cannot open the ALSA capture device 'usb': Device or resource busy");
    EXPECT_TRUE(contains(alsaFailure(AlsaStep::Transfer, Direction::Input, "usb", -ENODEV).text,
                         "capture device 'usb' stopped working (No such device)"));
}

TEST(WaveAlsaDriver, UnknownPcmIsRefusedWithItsName) {
    clearDeviceStatus();
    setDriver(std::make_shared<AlsaDriver>(AlsaConfig{"pristroje_no_such_pcm", "default"}));
    EXPECT_EQ(waveInGetNumDevs(), 1u);
    const WAVEFORMATEX f{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
    HWAVEIN h{};
    EXPECT_EQ(waveInOpen(&h, WAVE_MAPPER, &f, 0, 0, CALLBACK_NULL), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(waveInOpen(&h, 1, &f, 0, 0, CALLBACK_NULL), MMSYSERR_BADDEVICEID);
    EXPECT_TRUE(contains(lastDeviceError(Direction::Input),
                         "Cannot open the ALSA capture device 'pristroje_no_such_pcm'"))
        << lastDeviceError(Direction::Input);
    EXPECT_EQ(lastDeviceError(Direction::Output), "");
    setDriver(nullptr);
}

TEST(WaveDeviceStatus, CountsRunsAndKeepsTheLastErrorPerDirection) {
    clearDeviceStatus();
    noteXrun(Direction::Output, "default");
    noteXrun(Direction::Output, "default");
    noteDeviceError(Direction::Input, "first");
    noteDeviceError(Direction::Output, "second");
    EXPECT_EQ(xrunCount(Direction::Output), 2u);
    EXPECT_EQ(xrunCount(Direction::Input), 0u);
    EXPECT_EQ(lastDeviceError(Direction::Input), "first");
    EXPECT_EQ(lastDeviceError(), "second");
    clearDeviceStatus();
    EXPECT_EQ(xrunCount(Direction::Output), 0u);
    EXPECT_EQ(lastDeviceError(), "");
}

TEST(WaveDeviceStatus, AnOutageIsSaidOnceAndEachReturnCountsWithItsTime) {
    clearDeviceStatus();
    EXPECT_FALSE(deviceOutage(Direction::Input).has_value());
    noteDeviceMissing(Direction::Input, "usb", "No such device");
    const auto since = deviceOutage(Direction::Input);
    ASSERT_TRUE(since.has_value());
    noteDeviceMissing(Direction::Input, "usb", "again");  // still the same outage
    EXPECT_EQ(deviceOutage(Direction::Input)->since, since->since);
    EXPECT_FALSE(deviceOutage(Direction::Output).has_value());
    EXPECT_EQ(reconnectCount(), 0u);
    noteDeviceBack(Direction::Output, "usb");  // was not missing: nothing to count
    EXPECT_EQ(reconnectCount(), 0u);
    noteDeviceBack(Direction::Input, "usb");
    EXPECT_FALSE(deviceOutage(Direction::Input).has_value());
    EXPECT_EQ(reconnectCount(), 1u);
    ASSERT_TRUE(lastDeviceReturn(Direction::Input).has_value());
    EXPECT_EQ(lastDeviceReturn(Direction::Input)->device, "usb");
    noteDeviceMissing(Direction::Output, "usb", "gone");
    noteDeviceClosed(Direction::Output);  // closed while missing: over, and no return
    EXPECT_FALSE(deviceOutage(Direction::Output).has_value());
    EXPECT_EQ(reconnectCount(), 1u);
    const double missing = missingSeconds();
    EXPECT_GE(missing, 0.0);
    EXPECT_EQ(missingSeconds(), missing) << "a finished outage no longer grows";
    clearDeviceStatus();
    EXPECT_EQ(reconnectCount(), 0u);
    EXPECT_EQ(missingSeconds(), 0.0);
    EXPECT_FALSE(lastDeviceReturn(Direction::Input).has_value());
}

TEST(WaveDeviceList, ListsCaptureAndPlaybackPcmsAndMixersWithTheDefaultsMarked) {
    const std::string text = listDevices();
    const auto capture = text.find("Capture devices (--input-device):\n");
    const auto playback = text.find("Playback devices (--output-device):\n");
    const auto mixers = text.find("Mixers (--mixer-device):\n");
    ASSERT_NE(capture, std::string::npos) << text;
    ASSERT_NE(playback, std::string::npos) << text;
    ASSERT_NE(mixers, std::string::npos) << text;
    EXPECT_LT(capture, playback);
    EXPECT_LT(playback, mixers);
    // "default" is in every section, marked.
    for (auto at : {capture, playback, mixers}) {
        const auto mark = text.find("  default  (default)", at);
        EXPECT_NE(mark, std::string::npos) << text;
    }
}

}  // namespace
