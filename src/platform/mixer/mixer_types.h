#pragma once
// Records, handles and constants of the mixer interface: device capabilities,
// line and control descriptions, control value details, the flags of the
// queries and the change notifications posted to a callback window.
//
// The records keep the field names and order of the interface our mixer
// component was designed against. Records that hold no pointer have the sizes
// the component expects (MIXERCAPSA 48, MIXERLINEA 168, MIXERCONTROLA 148);
// records that hold a pointer are as large as this build's pointers make them.
#include "platform/win/mm_result.h"
#include "platform/win/win_types.h"

#include <cstdint>

namespace platform::mixer {

// The operating system's vocabulary (types and general result codes).
using namespace platform::win;

using DWORD_PTR = std::uintptr_t;
using LONG = std::int32_t;

// Handle of an open mixer. Every successful mixerOpen yields a new value, never
// reused while the process runs; the zero value is "no mixer". A line or
// control query names its mixer by this handle (MIXER_OBJECTF_HMIXER).
enum class HMIXER : std::uint32_t {};
using HMIXEROBJ = HMIXER;

inline constexpr UINT MAXPNAMELEN = 32;
inline constexpr UINT MIXER_SHORT_NAME_CHARS = 16;
inline constexpr UINT MIXER_LONG_NAME_CHARS = 64;

// Result codes: the general ones, and the mixer's own.
inline constexpr MMRESULT MIXERR_INVALLINE = 1024;
inline constexpr MMRESULT MIXERR_INVALCONTROL = 1025;
inline constexpr MMRESULT MIXERR_INVALVALUE = 1026;

// mixerOpen flags.
inline constexpr DWORD CALLBACK_TYPEMASK = 0x00070000;
inline constexpr DWORD CALLBACK_NULL = 0x00000000;
inline constexpr DWORD CALLBACK_WINDOW = 0x00010000;  // dwCallback is an HWND

// Addressing of the line and control queries (high bits of their flags).
inline constexpr DWORD MIXER_OBJECTF_TYPEMASK = 0xF0000000;
inline constexpr DWORD MIXER_OBJECTF_HANDLE = 0x80000000;
inline constexpr DWORD MIXER_OBJECTF_MIXER = 0x00000000;
inline constexpr DWORD MIXER_OBJECTF_HMIXER = MIXER_OBJECTF_HANDLE | MIXER_OBJECTF_MIXER;

// Query kinds (low bits of the flags).
inline constexpr DWORD MIXER_QUERYMASK = 0x0000000F;
inline constexpr DWORD MIXER_GETLINEINFOF_DESTINATION = 0;
inline constexpr DWORD MIXER_GETLINEINFOF_SOURCE = 1;
inline constexpr DWORD MIXER_GETLINECONTROLSF_ALL = 0;
inline constexpr DWORD MIXER_GETCONTROLDETAILSF_VALUE = 0;
inline constexpr DWORD MIXER_SETCONTROLDETAILSF_VALUE = 0;

// Notifications posted to a CALLBACK_WINDOW: wParam is the mixer handle's
// value, lParam the identifier of the line or control that changed.
inline constexpr UINT MM_MIXM_LINE_CHANGE = 0x3D0;
inline constexpr UINT MM_MIXM_CONTROL_CHANGE = 0x3D1;

// Line flags (fdwLine).
inline constexpr DWORD MIXERLINE_LINEF_ACTIVE = 0x00000001;
inline constexpr DWORD MIXERLINE_LINEF_DISCONNECTED = 0x00008000;
inline constexpr DWORD MIXERLINE_LINEF_SOURCE = 0x80000000;

// Line component types.
inline constexpr DWORD MIXERLINE_COMPONENTTYPE_DST_UNDEFINED = 0x0;
inline constexpr DWORD MIXERLINE_COMPONENTTYPE_DST_DIGITAL = 0x1;
inline constexpr DWORD MIXERLINE_COMPONENTTYPE_DST_LINE = 0x2;
inline constexpr DWORD MIXERLINE_COMPONENTTYPE_DST_MONITOR = 0x3;
inline constexpr DWORD MIXERLINE_COMPONENTTYPE_DST_SPEAKERS = 0x4;
inline constexpr DWORD MIXERLINE_COMPONENTTYPE_DST_HEADPHONES = 0x5;
inline constexpr DWORD MIXERLINE_COMPONENTTYPE_DST_TELEPHONE = 0x6;
inline constexpr DWORD MIXERLINE_COMPONENTTYPE_DST_WAVEIN = 0x7;
inline constexpr DWORD MIXERLINE_COMPONENTTYPE_DST_VOICEIN = 0x8;
inline constexpr DWORD MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED = 0x1000;
inline constexpr DWORD MIXERLINE_COMPONENTTYPE_SRC_DIGITAL = 0x1001;
inline constexpr DWORD MIXERLINE_COMPONENTTYPE_SRC_LINE = 0x1002;
inline constexpr DWORD MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE = 0x1003;
inline constexpr DWORD MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER = 0x1004;
inline constexpr DWORD MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC = 0x1005;
inline constexpr DWORD MIXERLINE_COMPONENTTYPE_SRC_TELEPHONE = 0x1006;
inline constexpr DWORD MIXERLINE_COMPONENTTYPE_SRC_PCSPEAKER = 0x1007;
inline constexpr DWORD MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT = 0x1008;
inline constexpr DWORD MIXERLINE_COMPONENTTYPE_SRC_AUXILIARY = 0x1009;
inline constexpr DWORD MIXERLINE_COMPONENTTYPE_SRC_ANALOG = 0x100A;

// Target types (MIXERLINEA::Target.dwType).
inline constexpr DWORD MIXERLINE_TARGETTYPE_UNDEFINED = 0;
inline constexpr DWORD MIXERLINE_TARGETTYPE_WAVEOUT = 1;
inline constexpr DWORD MIXERLINE_TARGETTYPE_WAVEIN = 2;

// Control flags (fdwControl).
inline constexpr DWORD MIXERCONTROL_CONTROLF_UNIFORM = 0x00000001;
inline constexpr DWORD MIXERCONTROL_CONTROLF_MULTIPLE = 0x00000002;
inline constexpr DWORD MIXERCONTROL_CONTROLF_DISABLED = 0x80000000;

// Control types. The top four bits are the class (custom, meter, switch,
// number, slider, fader, time, list).
inline constexpr DWORD MIXERCONTROL_CT_CLASS_MASK = 0xF0000000;
inline constexpr DWORD MIXERCONTROL_CT_CLASS_SWITCH = 0x20000000;
inline constexpr DWORD MIXERCONTROL_CT_CLASS_SLIDER = 0x40000000;
inline constexpr DWORD MIXERCONTROL_CT_CLASS_LIST = 0x70000000;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_CUSTOM = 0x00000000;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_BOOLEANMETER = 0x10010000;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_SIGNEDMETER = 0x10020000;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_PEAKMETER = 0x10020001;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_UNSIGNEDMETER = 0x10030000;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_BOOLEAN = 0x20010000;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_ONOFF = 0x20010001;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_MUTE = 0x20010002;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_MONO = 0x20010003;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_LOUDNESS = 0x20010004;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_STEREOENH = 0x20010005;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_BUTTON = 0x21010000;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_DECIBELS = 0x30040000;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_SIGNED = 0x30020000;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_UNSIGNED = 0x30030000;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_PERCENT = 0x30050000;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_SLIDER = 0x40020000;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_PAN = 0x40020001;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_QSOUNDPAN = 0x40020002;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_FADER = 0x50030000;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_VOLUME = 0x50030001;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_BASS = 0x50030002;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_TREBLE = 0x50030003;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_EQUALIZER = 0x50030004;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_SINGLESELECT = 0x70010000;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_MUX = 0x70010001;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_MULTIPLESELECT = 0x71010000;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_MIXER = 0x71010001;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_MICROTIME = 0x60030000;
inline constexpr DWORD MIXERCONTROL_CONTROLTYPE_MILLITIME = 0x61030000;

// Capabilities of a mixer device.
struct MIXERCAPSA {
    WORD wMid = 0;
    WORD wPid = 0;
    UINT vDriverVersion = 0;
    char szPname[MAXPNAMELEN] = {};
    DWORD fdwSupport = 0;
    DWORD cDestinations = 0;
};

// Description of one line. In: cbStruct, dwDestination, and for a source
// dwSource. Out: everything else.
struct MIXERLINEA {
    DWORD cbStruct = 0;
    DWORD dwDestination = 0;
    DWORD dwSource = 0;
    DWORD dwLineID = 0;
    DWORD fdwLine = 0;
    DWORD dwUser = 0;
    DWORD dwComponentType = 0;
    DWORD cChannels = 0;
    DWORD cConnections = 0;
    DWORD cControls = 0;
    char szShortName[MIXER_SHORT_NAME_CHARS] = {};
    char szName[MIXER_LONG_NAME_CHARS] = {};
    struct {
        DWORD dwType = 0;
        DWORD dwDeviceID = 0;
        WORD wMid = 0;
        WORD wPid = 0;
        UINT vDriverVersion = 0;
        char szPname[MAXPNAMELEN] = {};
    } Target;
};

// Description of one control. Bounds hold the same two words for every
// control class: signed as lMinimum/lMaximum, unsigned through dwMinimum()/
// dwMaximum().
struct MIXERCONTROLA {
    DWORD cbStruct = 0;
    DWORD dwControlID = 0;
    DWORD dwControlType = 0;
    DWORD fdwControl = 0;
    DWORD cMultipleItems = 0;
    char szShortName[MIXER_SHORT_NAME_CHARS] = {};
    char szName[MIXER_LONG_NAME_CHARS] = {};
    struct {
        LONG lMinimum = 0;
        LONG lMaximum = 0;
        DWORD dwReserved[4] = {};
        DWORD dwMinimum() const { return static_cast<DWORD>(lMinimum); }
        DWORD dwMaximum() const { return static_cast<DWORD>(lMaximum); }
    } Bounds;
    struct {
        DWORD cSteps = 0;
        DWORD dwReserved[5] = {};
    } Metrics;
};

// The controls of one line (MIXER_GETLINECONTROLSF_ALL): in cbStruct,
// dwLineID, cControls (the line's count), cbmxctrl (sizeof(MIXERCONTROLA)) and
// pamxctrl (room for cControls records); out the records.
struct MIXERLINECONTROLSA {
    DWORD cbStruct = 0;
    DWORD dwLineID = 0;
    DWORD dwControlID = 0;  // shares its place with dwControlType in the original
    DWORD cControls = 0;
    DWORD cbmxctrl = 0;
    MIXERCONTROLA* pamxctrl = nullptr;
};

// The values of one control. paDetails holds cChannels x max(cMultipleItems, 1)
// details of cbDetails bytes, channel by channel: all items of the first
// channel, then all items of the second, ...
// cChannels is 1 for a uniform control (or to treat every channel alike), the
// line's channel count otherwise, 0 for a custom control (one detail).
struct MIXERCONTROLDETAILS {
    DWORD cbStruct = 0;
    DWORD dwControlID = 0;
    DWORD cChannels = 0;
    DWORD cMultipleItems = 0;
    DWORD cbDetails = 0;
    void* paDetails = nullptr;
};

// The three kinds of detail. Each is one 32-bit word, so a buffer of words
// serves for any of them.
struct MIXERCONTROLDETAILS_SIGNED {
    LONG lValue = 0;
};
struct MIXERCONTROLDETAILS_BOOLEAN {
    LONG fValue = 0;
};
struct MIXERCONTROLDETAILS_UNSIGNED {
    DWORD dwValue = 0;
};

static_assert(sizeof(MIXERCAPSA) == 48);
static_assert(sizeof(MIXERLINEA) == 168);
static_assert(sizeof(MIXERCONTROLA) == 148);
static_assert(sizeof(MIXERCONTROLDETAILS_SIGNED) == 4 && sizeof(MIXERCONTROLDETAILS_BOOLEAN) == 4 &&
              sizeof(MIXERCONTROLDETAILS_UNSIGNED) == 4);

}  // namespace platform::mixer
