#pragma once
// TAudioMixer: access to a sound card's mixer.
//
// Open builds a tree that mirrors the mixer: a TDestination per destination
// line, under it a TSource per source line, under every line a TAudioControl
// per control and under every control its TVolume value items. While building
// it remembers the first line of each well-known kind in a slot (WaveOut,
// SpeakersDest, ...), see line_slots.h. Changes reported by the mixer refresh
// the tree and raise OnMixerControlChange / OnMixerLineChange.
//
// Open raises EMixerID, EMixerCaps or EMixerOpen (mixer_errors.h); nothing else
// raises. Everything runs on the thread that owns the component.
#include "mixer/mixer_man.h"
#include "mixer/source.h"
#include "platform/mixer/mixer_types.h"
#include "platform/win/message_window.h"

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace mixer {

// Sender, destination, source (0xFFFFFFFF for the destination's own line), control.
using TMixerControlChangeEvent =
    std::function<void(QObject* Sender, platform::win::DWORD D, platform::win::DWORD S, platform::win::DWORD C)>;
using TMixerLineChangeEvent = std::function<void(QObject* Sender, platform::win::DWORD D, platform::win::DWORD S)>;

class TAudioMixer : public QObject {
public:
    // Reads the number of mixer devices (mixerGetNumDevs) once; closed.
    explicit TAudioMixer(QObject* owner = nullptr);
    // Closes the mixer if it is open.
    ~TAudioMixer() override;

    platform::win::DWORD MixerCount() const { return mixerCount_; }
    platform::win::DWORD MixerID() const { return mixerId_; }
    // Closes an open mixer (it stays closed), then takes the value; a value not
    // below MixerCount raises EMixerID and leaves MixerID as it was.
    void SetMixerID(platform::win::DWORD value);

    const std::string& ProductName() const { return productName_; }
    platform::win::DWORD DestinationCount() const { return destinationCount_; }
    bool Active() const { return active_; }
    platform::mixer::HMIXER MixerHandle() const { return mixerHandle_; }
    // The hidden window the open mixer notifies (0 before the first Open).
    platform::win::HWND NotificationWindow() const { return window_ ? window_->handle() : 0; }

    // Opens device MixerID (closing first if open) and builds the tree.
    void Open();
    // Closes the device, frees the tree and clears every slot.
    void Close();

    // (Re)reads the description of line (D, S) (S = -1: the destination
    // itself) into its object and applies the slot rules.
    void ReadLineInfo(platform::win::DWORD D, std::int32_t S);
    // Reads the descriptions of all controls of line (D, S) and creates their value items.
    void ReadLineControls(platform::win::DWORD D, std::int32_t S);
    // Reads the current values of control C of line (D, S).
    void ReadControlValues(platform::win::DWORD D, std::int32_t S, platform::win::DWORD C);

    // Raise the events when they are assigned.
    virtual void FireControlChange(platform::win::DWORD D, platform::win::DWORD S, platform::win::DWORD C);
    virtual void FireLineChange(platform::win::DWORD D, platform::win::DWORD S);

    TMixerControlChangeEvent OnMixerControlChange;
    TMixerLineChangeEvent OnMixerLineChange;

    // The tree: one entry per destination index while open.
    std::vector<std::unique_ptr<TDestination>> Destinations;

    // Slots: lines of well-known kinds, or null. They refer into the tree.
    TDestination* SpeakersDest = nullptr;
    TDestination* RecordDest = nullptr;
    TDestination* VoiceInDest = nullptr;
    TSource* WaveOut = nullptr;
    TSource* CDPlay = nullptr;
    TSource* CDRecord = nullptr;
    TSource* SynthPlay = nullptr;
    TSource* LineInPlay = nullptr;
    TSource* LineInRecord = nullptr;
    TSource* MicPlay = nullptr;
    TSource* MicRecord = nullptr;
    TSource* PCSpeaker = nullptr;
    TSource* AuxPlay = nullptr;
    TSource* AuxRecord = nullptr;
    TSource* AnalogPlay = nullptr;
    TSource* AnalogRecord = nullptr;
    TSource* PhonePlay = nullptr;
    TSource* PhoneRecord = nullptr;

private:
    friend class TMixerMan;

    // The line at (D, S), or null.
    TSource* LineAt(platform::win::DWORD D, std::int32_t S) const;
    // Creates the line's control objects and reads their descriptions and values.
    void BuildControls(platform::win::DWORD D, std::int32_t S);
    void ClearSlots();

    platform::win::DWORD mixerCount_ = 0;
    platform::win::DWORD mixerId_ = 0;
    std::string productName_;
    platform::win::DWORD destinationCount_ = 0;
    bool active_ = false;
    platform::mixer::HMIXER mixerHandle_{};
    std::unique_ptr<TMixerMan> man_;
    // The hidden window the mixer notifies; made by the first Open, kept for the component's life.
    std::unique_ptr<platform::win::MessageWindow> window_;
};

}  // namespace mixer
