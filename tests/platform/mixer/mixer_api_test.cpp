// The mixer calls check their arguments before a driver sees them.
#include "support/sim_mixer_fixture.h"

#include "platform/mixer/mixer_api.h"
#include "platform/mixer/sim/classic_card.h"

namespace mixer_test {
namespace {

class MixerApi : public SimMixerTest {};

TEST_F(MixerApi, OpenAndCloseCheckTheirArguments) {
    install(classicCardTopology());
    EXPECT_EQ(mixerGetNumDevs(), 1u);
    MIXERCAPSA caps;
    EXPECT_EQ(mixerGetDevCapsA(0, &caps, sizeof caps - 1), MMSYSERR_INVALPARAM);
    EXPECT_EQ(mixerGetDevCapsA(1, &caps, sizeof caps), MMSYSERR_BADDEVICEID);
    ASSERT_EQ(mixerGetDevCapsA(0, &caps, sizeof caps), MMSYSERR_NOERROR);
    EXPECT_EQ(std::string(caps.szPname), classicCardProductName());
    EXPECT_EQ(caps.cDestinations, 2u);

    HMIXER h{};
    EXPECT_EQ(mixerOpen(&h, 1, 0, 0, CALLBACK_NULL), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(mixerOpen(&h, 0, 0, 0, CALLBACK_WINDOW), MMSYSERR_INVALPARAM);
    EXPECT_EQ(mixerOpen(&h, 0, 0, 0, 0x00030000), MMSYSERR_NOTSUPPORTED);
    EXPECT_EQ(mixerOpen(&h, 0, 0, 0, 0x1), MMSYSERR_INVALFLAG);
    EXPECT_EQ(static_cast<std::uint32_t>(h), 0u);
    ASSERT_EQ(mixerOpen(&h, 0, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
    HMIXER second{};
    ASSERT_EQ(mixerOpen(&second, 0, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
    EXPECT_NE(h, second);
    EXPECT_EQ(mixerClose(h), MMSYSERR_NOERROR);
    EXPECT_EQ(mixerClose(h), MMSYSERR_INVALHANDLE);
    MIXERLINEA line;
    line.cbStruct = sizeof line;
    EXPECT_EQ(mixerGetLineInfoA(h, &line, MIXER_OBJECTF_HMIXER), MMSYSERR_INVALHANDLE);

    // An open mixer keeps its driver when another is installed.
    setDriver(nullptr);
    EXPECT_EQ(mixerGetNumDevs(), 0u);
    EXPECT_EQ(mixerGetLineInfoA(second, &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_DESTINATION),
              MMSYSERR_NOERROR);
    EXPECT_EQ(mixerClose(second), MMSYSERR_NOERROR);
}

TEST_F(MixerApi, QueriesCheckRecordsAndFlags) {
    install(classicCardTopology());
    HMIXER h{};
    ASSERT_EQ(mixerOpen(&h, 0, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);

    MIXERLINEA line;
    line.cbStruct = sizeof line;
    line.dwDestination = 0;
    line.dwSource = 4;
    EXPECT_EQ(mixerGetLineInfoA(h, &line, MIXER_GETLINEINFOF_SOURCE), MMSYSERR_NOTSUPPORTED);  // by device number
    EXPECT_EQ(mixerGetLineInfoA(h, &line, MIXER_OBJECTF_HMIXER | 3), MMSYSERR_NOTSUPPORTED);
    EXPECT_EQ(mixerGetLineInfoA(h, &line, MIXER_OBJECTF_HMIXER | 0x100), MMSYSERR_INVALFLAG);
    ASSERT_EQ(mixerGetLineInfoA(h, &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_SOURCE), MMSYSERR_NOERROR);
    EXPECT_EQ(line.dwComponentType, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE);
    EXPECT_EQ(line.cChannels, 1u);
    EXPECT_EQ(line.cControls, 2u);
    EXPECT_NE(line.fdwLine & MIXERLINE_LINEF_SOURCE, 0u);
    EXPECT_EQ(std::string(line.szName), "Microphone");
    line.dwSource = 6;
    EXPECT_EQ(mixerGetLineInfoA(h, &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_SOURCE), MIXERR_INVALLINE);

    MIXERCONTROLA controls[2];
    MIXERLINECONTROLSA request;
    request.cbStruct = sizeof request;
    request.dwLineID = line.dwLineID;
    request.cControls = 1;  // not the line's count
    request.cbmxctrl = sizeof(MIXERCONTROLA);
    request.pamxctrl = controls;
    EXPECT_EQ(mixerGetLineControlsA(h, &request, MIXER_OBJECTF_HMIXER), MMSYSERR_INVALPARAM);
    request.cControls = 2;
    ASSERT_EQ(mixerGetLineControlsA(h, &request, MIXER_OBJECTF_HMIXER), MMSYSERR_NOERROR);
    EXPECT_EQ(controls[1].dwControlType, MIXERCONTROL_CONTROLTYPE_MUTE);
    EXPECT_EQ(controls[0].Bounds.dwMaximum(), 65535u);

    DWORD words[2] = {};
    MIXERCONTROLDETAILS details;
    details.cbStruct = sizeof details;
    details.dwControlID = controls[0].dwControlID;
    details.cChannels = 2;  // the line has one channel
    details.cbDetails = 4;
    details.paDetails = words;
    const DWORD flags = MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE;
    EXPECT_EQ(mixerGetControlDetailsA(h, &details, flags), MMSYSERR_INVALPARAM);
    details.cChannels = 1;
    details.cMultipleItems = 3;  // not a multiple control
    EXPECT_EQ(mixerGetControlDetailsA(h, &details, flags), MMSYSERR_INVALPARAM);
    details.cMultipleItems = 0;
    details.cbDetails = 2;
    EXPECT_EQ(mixerGetControlDetailsA(h, &details, flags), MMSYSERR_INVALPARAM);
    details.cbDetails = 4;
    details.dwControlID = 0xDEAD;
    EXPECT_EQ(mixerSetControlDetails(h, &details, flags), MIXERR_INVALCONTROL);
    details.dwControlID = controls[0].dwControlID;
    ASSERT_EQ(mixerGetControlDetailsA(h, &details, flags), MMSYSERR_NOERROR);
    EXPECT_EQ(words[0], 49152u);
    EXPECT_EQ(mixerClose(h), MMSYSERR_NOERROR);
}

}  // namespace
}  // namespace mixer_test
