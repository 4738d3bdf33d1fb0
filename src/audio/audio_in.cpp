#include "audio/audio_in.h"

#include "platform/wave/wave_api.h"

namespace audio {

using namespace platform;
using namespace platform::win;
using namespace platform::wave;

TAudioIn::TAudioIn(QObject* AOwner) : TAudioIO(AOwner) {}

// The driver must not write into the buffers once they are freed.
TAudioIn::~TAudioIn() {
    StopImmediately();
    FinishPendingClose();
}

bool TAudioIn::Start(TAudioIn*& ref) {
    if (!OpenDevice(ref)) return false;
    return BeginRecording();
}

bool TAudioIn::OpenDevice(TAudioIn*& ref) {
    if (FDeviceOpen) {
        FErrorMessage = "Wave Input device is already open";
        return false;
    }
    if (!FinishPendingClose()) return false;
    if (!EnsurePool()) return false;
    FNextBuffer = 0;
    auto* win = new TCallBackWinIn(ref, parent());
    AdoptCallBackWin(win);
    const MMRESULT r = waveInOpen(&FWaveHandle, DeviceID, &WaveFormat, win->handle(), 0,
                                  CALLBACK_WINDOW | WAVE_ALLOWSYNC);
    if (r != MMSYSERR_NOERROR) {
        FErrorMessage = WaveInErrorText(r);
        return false;
    }
    win->HasDevice = true;
    FDeviceOpen = true;
    if (!InitHeaders()) return false;
    for (int i = 0; i < RingSize; ++i) {
        const MMRESULT p = waveInPrepareHeader(FWaveHandle, Headers[i], sizeof(WAVEHDR));
        if (p != MMSYSERR_NOERROR) {
            FErrorMessage = WaveInErrorText(p);
            CloseDevice();
            return false;
        }
    }
    FQueuedCount = 0;
    FDoneCount = 0;
    FFilledCount = 0;
    FStreaming = true;
    FRunning = true;
    return true;
}

bool TAudioIn::BeginRecording() {
    const MMRESULT r = waveInStart(FWaveHandle);
    if (r != MMSYSERR_NOERROR) {
        CloseDevice();
        FErrorMessage = "Error starting wave record: " + WaveInErrorText(r);
        return false;
    }
    FRunning = true;
    for (int i = 0; i < RingSize; ++i) {
        if (!QueueNextBuffer()) {
            CloseDevice();
            return false;
        }
    }
    return true;
}

bool TAudioIn::QueueNextBuffer() {
    WAVEHDR* h = Headers[FNextBuffer];
    h->dwFlags = WHDR_PREPARED;
    const MMRESULT r = waveInAddBuffer(FWaveHandle, h, sizeof(WAVEHDR));
    if (r != MMSYSERR_NOERROR) {
        FErrorMessage = WaveInErrorText(r);
        StopWhenDrained();
        return false;
    }
    FNextBuffer = (FNextBuffer + 1) % RingSize;
    FQueuedCount = WrapAdd(FQueuedCount, 1);
    return true;
}

bool TAudioIn::ProcessBuffer(char* Buffer, std::int32_t Size) {
    if (!FStreaming) return false;
    bool result = true;
    if (OnBufferFilled) result = OnBufferFilled(Buffer, Size);  // Size is a copy: a change is dropped
    if (result) FFilledCount = WrapAdd(FFilledCount, 1);
    return result;
}

void TAudioIn::CloseDevice() {
    FRunning = false;
    for (int i = 0; i < RingSize; ++i) waveInUnprepareHeader(FWaveHandle, Headers[i], sizeof(WAVEHDR));
    waveInReset(FWaveHandle);
    const MMRESULT r = waveInClose(FWaveHandle);
    ClosePending = (r == WAVERR_STILLPLAYING);
    FDeviceOpen = false;
}

void TAudioIn::StopImmediately() {
    if (!FDeviceOpen) return;
    FRunning = false;
    FStreaming = false;
    waveInReset(FWaveHandle);
    CloseDevice();
}

void TAudioIn::StopWhenDrained() {
    if (!FDeviceOpen) return;
    FStreaming = false;
}

void TAudioIn::WindowMessage(TCallBackWinIn& win, const platform::win::Message& m) {
    switch (m.msg) {
    case MM_WIM_OPEN:
        if (OnStart) OnStart(&win);
        break;
    case MM_WIM_CLOSE:
        CloseNotified(win);  // first: the owner's handler may start again
        if (OnStop) OnStop(&win);
        break;
    case MM_WIM_DATA:
        // A buffer of an earlier open must not act on this one.
        if (IsCurrent(win)) BufferDone();
        break;
    default:
        break;
    }
}

void TAudioIn::BufferDone() {
    FDoneCount = WrapAdd(FDoneCount, 1);
    FQueuedCount = WrapSub(FQueuedCount, 1);
    FRunning = FQueuedCount > 0;
    if (ProcessBuffer(Buffers[FNextBuffer], FBufferSize)) QueueNextBuffer();
    if (!FRunning) {
        FStreaming = false;
        CloseDevice();
    }
}

bool TAudioIn::FinishPendingClose() {
    if (!ClosePending) return true;
    waveInReset(FWaveHandle);
    for (int i = 0; i < RingSize; ++i) waveInUnprepareHeader(FWaveHandle, Headers[i], sizeof(WAVEHDR));
    const MMRESULT r = waveInClose(FWaveHandle);
    ClosePending = (r == WAVERR_STILLPLAYING);
    if (ClosePending) FErrorMessage = WaveInErrorText(r);
    return !ClosePending;
}

}  // namespace audio
