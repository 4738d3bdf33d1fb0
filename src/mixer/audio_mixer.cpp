#include "mixer/audio_mixer.h"

#include "mixer/line_slots.h"
#include "mixer/mixer_errors.h"
#include "platform/mixer/mixer_api.h"

#include <algorithm>
#include <cstring>

namespace mixer {

using namespace platform::mixer;
using platform::win::DWORD;

namespace {

std::string fixedText(const char* text, std::size_t size) { return std::string(text, strnlen(text, size)); }

// The number as the messages print it (%d).
std::string asSigned(DWORD value) { return std::to_string(static_cast<std::int32_t>(value)); }

}  // namespace

TAudioMixer::TAudioMixer(QObject* owner)
    : QObject(owner), mixerCount_(mixerGetNumDevs()), man_(std::make_unique<TMixerMan>(*this)) {}

TAudioMixer::~TAudioMixer() {
    if (active_) Close();
}

void TAudioMixer::SetMixerID(DWORD value) {
    if (active_) Close();
    if (value >= mixerCount_) throw EMixerID("MixerID maximum for this machine: " + asSigned(mixerCount_ - 1u));
    mixerId_ = value;
}

void TAudioMixer::Open() {
    if (active_) Close();
    if (mixerCount_ == 0) throw EMixerID("No mixer device present in this system.");

    MIXERCAPSA caps;
    if (mixerGetDevCapsA(mixerId_, &caps, sizeof caps) != MMSYSERR_NOERROR)
        throw EMixerCaps("Function mixerGetDevCaps failed. Mixer device ID: " + asSigned(mixerId_));
    productName_ = fixedText(caps.szPname, sizeof caps.szPname);
    destinationCount_ = caps.cDestinations;

    // One hidden window serves every open: notifications of an earlier handle
    // are told apart by the handle they carry. Keeping it also lets an event
    // handler reopen the mixer while the window is delivering that event.
    if (!window_)
        window_ = std::make_unique<platform::win::MessageWindow>(
            [this](const platform::win::Message& m) { man_->WndProc(m); });
    HMIXER handle{};
    if (mixerOpen(&handle, mixerId_, window_->handle(), 0, CALLBACK_WINDOW) != MMSYSERR_NOERROR)
        throw EMixerOpen("Function mixerOpen failed");
    mixerHandle_ = handle;

    Destinations.clear();
    Destinations.reserve(destinationCount_);
    for (DWORD d = 0; d < destinationCount_; ++d) {
        Destinations.push_back(std::make_unique<TDestination>());
        TDestination& destination = *Destinations.back();
        ReadLineInfo(d, -1);
        if (!destination.Available) continue;
        BuildControls(d, -1);
        const DWORD sourceCount = destination.SourceCount;
        for (DWORD s = 0; s < sourceCount; ++s) {
            destination.Sources.push_back(std::make_unique<TSource>());
            const auto si = static_cast<std::int32_t>(s);
            ReadLineInfo(d, si);
            if (destination.Sources.back()->Available) BuildControls(d, si);
        }
    }
    active_ = true;
}

void TAudioMixer::Close() {
    if (!active_) return;
    // The handle is given up whatever the platform answers; there is nothing
    // left to undo on our side.
    mixerClose(mixerHandle_);
    active_ = false;
    Destinations.clear();
    ClearSlots();
}

void TAudioMixer::ClearSlots() {
    SpeakersDest = RecordDest = VoiceInDest = nullptr;
    for (TSource** slot : {&WaveOut, &CDPlay, &CDRecord, &SynthPlay, &LineInPlay, &LineInRecord, &MicPlay,
                           &MicRecord, &PCSpeaker, &AuxPlay, &AuxRecord, &AnalogPlay, &AnalogRecord, &PhonePlay,
                           &PhoneRecord})
        *slot = nullptr;
}

TSource* TAudioMixer::LineAt(DWORD D, std::int32_t S) const {
    if (D >= Destinations.size()) return nullptr;
    TDestination* destination = Destinations[D].get();
    if (S < 0) return destination;
    if (static_cast<std::size_t>(S) >= destination->Sources.size()) return nullptr;
    return destination->Sources[static_cast<std::size_t>(S)].get();
}

void TAudioMixer::BuildControls(DWORD D, std::int32_t S) {
    TSource& line = *LineAt(D, S);
    if (line.ControlCount == 0) return;
    for (DWORD c = 0; c < line.ControlCount; ++c)
        line.Controls.push_back(std::make_unique<TAudioControl>(line.Channels, mixerHandle_));
    ReadLineControls(D, S);
    for (DWORD c = 0; c < line.ControlCount; ++c) ReadControlValues(D, S, c);
}

void TAudioMixer::ReadLineInfo(DWORD D, std::int32_t S) {
    TSource* line = LineAt(D, S);
    if (line == nullptr) return;
    MIXERLINEA record;
    record.cbStruct = sizeof(MIXERLINEA);
    record.dwDestination = D;
    DWORD query = MIXER_GETLINEINFOF_DESTINATION;
    if (S >= 0) {
        record.dwSource = static_cast<DWORD>(S);
        query = MIXER_GETLINEINFOF_SOURCE;
    }
    line->Available = mixerGetLineInfoA(mixerHandle_, &record, MIXER_OBJECTF_HMIXER | query) == MMSYSERR_NOERROR;
    if (!line->Available) return;
    line->Active = (record.fdwLine & MIXERLINE_LINEF_ACTIVE) != 0;
    line->Disconnected = (record.fdwLine & MIXERLINE_LINEF_DISCONNECTED) != 0;
    line->Channels = record.cChannels;
    if (S < 0) static_cast<TDestination*>(line)->SourceCount = record.cConnections;
    line->ControlCount = record.cControls;
    line->ShortName = fixedText(record.szShortName, sizeof record.szShortName);
    line->Name = fixedText(record.szName, sizeof record.szName);
    line->SourceIndex = 0;
    line->LineID = record.dwLineID;
    applySlotRule(*this, *line, record.dwComponentType, S);
}

void TAudioMixer::ReadLineControls(DWORD D, std::int32_t S) {
    TSource* line = LineAt(D, S);
    if (line == nullptr) return;
    line->MuteIndex = line->VolumeIndex = line->MuxIndex = -1;

    std::vector<MIXERCONTROLA> records(line->ControlCount);
    MIXERLINECONTROLSA request;
    request.cbStruct = sizeof(MIXERLINECONTROLSA);
    request.dwLineID = line->LineID;
    request.cControls = line->ControlCount;
    request.cbmxctrl = sizeof(MIXERCONTROLA);
    request.pamxctrl = records.data();
    if (mixerGetLineControlsA(mixerHandle_, &request, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL) !=
        MMSYSERR_NOERROR) {
        for (auto& control : line->Controls) control->MarkUnavailable();
        return;
    }
    // Only the control objects the line was built with are filled.
    const std::size_t count = std::min(records.size(), line->Controls.size());
    for (std::size_t i = 0; i < count; ++i) {
        const MIXERCONTROLA& r = records[i];
        line->Controls[i]->Describe(r);
        const auto index = static_cast<std::int32_t>(i);
        switch (r.dwControlType) {
            case MIXERCONTROL_CONTROLTYPE_MUTE:
                if (line->MuteIndex < 0) line->MuteIndex = index;
                break;
            case MIXERCONTROL_CONTROLTYPE_BASS:
            case MIXERCONTROL_CONTROLTYPE_TREBLE:
                break;
            case MIXERCONTROL_CONTROLTYPE_MUX:
                if (line->MuxIndex < 0) line->MuxIndex = index;
                break;
            default:
                if (line->VolumeIndex < 0) line->VolumeIndex = index;
                break;
        }
    }
}

void TAudioMixer::ReadControlValues(DWORD D, std::int32_t S, DWORD C) {
    TSource* line = LineAt(D, S);
    if (line == nullptr || C >= line->Controls.size()) return;
    line->Controls[C]->ReadValues(line->Channels);
}

void TAudioMixer::FireControlChange(DWORD D, DWORD S, DWORD C) {
    if (OnMixerControlChange) OnMixerControlChange(this, D, S, C);
}

void TAudioMixer::FireLineChange(DWORD D, DWORD S) {
    if (OnMixerLineChange) OnMixerLineChange(this, D, S);
}

}  // namespace mixer
