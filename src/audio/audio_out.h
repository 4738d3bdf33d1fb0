#pragma once
// TAudioOut: plays PCM through the wave-out device. It asks the owner to fill
// each buffer of the ring (OnFillBuffer), writes the filled buffers, and refills
// each one as soon as the device has played it, until it is stopped or the owner
// stops filling. It can pause and resume.
#include "audio/audio_io.h"
#include "platform/wave/wave_types.h"

namespace audio {

class TAudioOut;
using TCallBackWinOut = TCallBackWin<TAudioOut>;

class TAudioOut : public TAudioIO {
public:
    explicit TAudioOut(QObject* AOwner);
    ~TAudioOut() override;

    bool Paused() const { return FPaused; }
    void SetPaused(bool value);

    TBufferEvent OnFillBuffer;

    // Opens the device, primes the buffers and starts playing. `ref` is the
    // owner's variable that holds this component.
    bool Start(TAudioOut*& ref);

    bool OpenDevice(TAudioOut*& ref);
    bool BeginPlayback();
    bool QueueNextBuffer();
    bool ProcessBuffer(int index, std::int32_t size);
    void CloseDevice();
    void StopImmediately() override;
    void StopWhenDrained() override;

    bool DeviceOpen() const { return FDeviceOpen; }
    TCallBackWinOut* CallBackWin() const { return static_cast<TCallBackWinOut*>(FCallBackWin); }
    platform::wave::HWAVEOUT WaveHandle() const { return FWaveHandle; }

    // The hidden window's message handling.
    void WindowMessage(TCallBackWinOut& win, const platform::win::Message& m);

protected:
    bool DeviceBusy() const override { return FDeviceOpen || ClosePending; }

private:
    void BufferDone();
    std::int32_t BuffersWithDevice() const;
    bool FinishPendingClose();

    bool FDeviceOpen = false;
    platform::wave::HWAVEOUT FWaveHandle{};
    bool ClosePending = false;      // the last close was refused: buffers were still playing
    std::int32_t RefusedCount = 0;  // filled buffers that the device refused to take
};

}  // namespace audio
