#pragma once
// TAudioIn: records PCM from the wave-in device into the ring of buffers and
// hands each filled buffer to the owner (OnBufferFilled), then queues it again,
// until it is stopped or the owner declines buffers.
#include "audio/audio_io.h"
#include "platform/wave/wave_types.h"

namespace audio {

class TAudioIn;
using TCallBackWinIn = TCallBackWin<TAudioIn>;

class TAudioIn : public TAudioIO {
public:
    explicit TAudioIn(QObject* AOwner);
    ~TAudioIn() override;

    TBufferEvent OnBufferFilled;

    // Opens the device and starts recording. `ref` is the owner's variable that
    // holds this component; the hidden window reaches the component through it.
    bool Start(TAudioIn*& ref);

    bool OpenDevice(TAudioIn*& ref);
    bool BeginRecording();
    bool QueueNextBuffer();
    bool ProcessBuffer(char* Buffer, std::int32_t Size);
    void CloseDevice();
    void StopImmediately() override;
    void StopWhenDrained() override;

    bool DeviceOpen() const { return FDeviceOpen; }
    TCallBackWinIn* CallBackWin() const { return static_cast<TCallBackWinIn*>(FCallBackWin); }
    platform::wave::HWAVEIN WaveHandle() const { return FWaveHandle; }

    // The hidden window's message handling.
    void WindowMessage(TCallBackWinIn& win, const platform::win::Message& m);

protected:
    bool DeviceBusy() const override { return FDeviceOpen || ClosePending; }

private:
    void BufferDone();
    // Closes the device left open by a refused close, before the buffers are
    // reused; false (with the text) when the device still refuses.
    bool FinishPendingClose();

    bool FDeviceOpen = false;
    platform::wave::HWAVEIN FWaveHandle{};
    bool ClosePending = false;  // the last close of FWaveHandle was refused
};

}  // namespace audio
