#include "audio/audio_out.h"

#include "platform/wave/wave_api.h"

#include <algorithm>

namespace audio {

using namespace platform;
using namespace platform::win;
using namespace platform::wave;

TAudioOut::TAudioOut(QObject* AOwner) : TAudioIO(AOwner) {}

// The driver must not read the buffers once they are freed: stop at once, and
// finish a close that waited for a buffer still playing.
TAudioOut::~TAudioOut() {
    StopImmediately();
    FinishPendingClose();
}

void TAudioOut::SetPaused(bool value) {
    FPaused = value;
    if (!FRunning) return;
    if (value)
        waveOutPause(FWaveHandle);
    else
        waveOutRestart(FWaveHandle);
}

bool TAudioOut::Start(TAudioOut*& ref) {
    if (!OpenDevice(ref)) return false;
    return BeginPlayback();
}

bool TAudioOut::OpenDevice(TAudioOut*& ref) {
    if (FDeviceOpen) {
        FErrorMessage = "Wave output device is already open";
        return false;
    }
    // A buffer of the last open may still be playing: never open a second
    // device on the same buffers.
    if (!FinishPendingClose()) return false;
    if (!EnsurePool()) return false;
    FNextBuffer = 0;
    auto* win = new TCallBackWinOut(ref, parent());
    AdoptCallBackWin(win);
    const MMRESULT r = waveOutOpen(&FWaveHandle, DeviceID, &WaveFormat, win->handle(), 0,
                                   CALLBACK_WINDOW | WAVE_ALLOWSYNC);
    if (r != MMSYSERR_NOERROR) {
        FErrorMessage = WaveOutErrorText(r);
        return false;
    }
    win->HasDevice = true;
    FDeviceOpen = true;
    if (!InitHeaders()) return false;
    for (int i = 0; i < RingSize; ++i) {
        const MMRESULT p = waveOutPrepareHeader(FWaveHandle, Headers[i], sizeof(WAVEHDR));
        if (p != MMSYSERR_NOERROR) {
            FErrorMessage = WaveOutErrorText(p);
            CloseDevice();
            return false;
        }
    }
    FQueuedCount = 0;
    FDoneCount = 0;
    FFilledCount = 0;
    RefusedCount = 0;
    FStreaming = true;
    FRunning = true;
    if (!ProcessBuffer(0, FBufferSize)) {
        CloseDevice();
        FErrorMessage = "There must be at least one filled buffer";
        return false;
    }
    // Prime the others. The buffers written must be a run of the ring from 0,
    // so priming stops at the first buffer the owner declines.
    for (int i = 1; i < RingSize; ++i)
        if (!ProcessBuffer(i, FBufferSize)) break;
    return true;
}

bool TAudioOut::BeginPlayback() {
    FRunning = true;
    if (FPaused) waveOutPause(FWaveHandle);
    const std::int32_t primed = FFilledCount;
    if (!QueueNextBuffer()) {
        CloseDevice();
        return false;
    }
    for (std::int32_t i = 1; i < primed; ++i) {
        if (!QueueNextBuffer()) {
            // The rest stay unwritten: they no longer count as with the device.
            RefusedCount = WrapAdd(RefusedCount, primed - i);
            FQueuedCount = BuffersWithDevice();
            break;
        }
    }
    return true;
}

bool TAudioOut::QueueNextBuffer() {
    WAVEHDR* h = Headers[FNextBuffer];
    h->dwFlags = WHDR_PREPARED;
    const MMRESULT r = waveOutWrite(FWaveHandle, h, sizeof(WAVEHDR));
    if (r != MMSYSERR_NOERROR) {
        FErrorMessage = WaveOutErrorText(r);
        StopWhenDrained();
        return false;
    }
    FNextBuffer = (FNextBuffer + 1) % RingSize;
    return true;
}

bool TAudioOut::ProcessBuffer(int index, std::int32_t size) {
    if (!FStreaming) return false;
    bool result = false;
    if (OnFillBuffer) {
        std::int32_t s = size;
        result = OnFillBuffer(Buffers[index], s);
        // The owner's size is not trusted: beyond the buffer the device would
        // read memory that is not the buffer's, below zero it would read 4 GB.
        s = std::clamp(s, 0, size);
        Headers[index]->dwBufferLength = static_cast<DWORD>(s);
    }
    if (result) FFilledCount = WrapAdd(FFilledCount, 1);
    FQueuedCount = BuffersWithDevice();
    return result;
}

void TAudioOut::CloseDevice() {
    FRunning = false;
    SetPaused(false);
    for (int i = 0; i < RingSize; ++i) waveOutUnprepareHeader(FWaveHandle, Headers[i], sizeof(WAVEHDR));
    const MMRESULT r = waveOutClose(FWaveHandle);
    ClosePending = (r == WAVERR_STILLPLAYING);
    FDeviceOpen = false;
}

void TAudioOut::StopImmediately() {
    if (!FDeviceOpen) return;
    FRunning = false;
    FStreaming = false;
    waveOutReset(FWaveHandle);
    CloseDevice();
}

void TAudioOut::StopWhenDrained() {
    if (!FDeviceOpen) return;
    FStreaming = false;
}

void TAudioOut::WindowMessage(TCallBackWinOut& win, const platform::win::Message& m) {
    switch (m.msg) {
    case MM_WOM_OPEN:
        if (OnStart) OnStart(&win);
        break;
    case MM_WOM_CLOSE:
        CloseNotified(win);  // first: the owner's handler may start again
        if (OnStop) OnStop(&win);
        break;
    case MM_WOM_DONE:
        // A buffer of an earlier open must not act on this one.
        if (IsCurrent(win)) BufferDone();
        break;
    default:
        break;
    }
}

void TAudioOut::BufferDone() {
    FDoneCount = WrapAdd(FDoneCount, 1);
    FQueuedCount = BuffersWithDevice();
    FRunning = FQueuedCount > 0;
    if (ProcessBuffer(FNextBuffer, FBufferSize) && !QueueNextBuffer()) {
        // Filled, but the device did not take it: it is not waited for.
        RefusedCount = WrapAdd(RefusedCount, 1);
        FQueuedCount = BuffersWithDevice();
    }
    if (!FRunning) {
        FStreaming = false;
        CloseDevice();
    }
}

// Filled buffers not yet played back, leaving out those the device refused.
std::int32_t TAudioOut::BuffersWithDevice() const {
    return WrapSub(WrapSub(FFilledCount, FDoneCount), RefusedCount);
}

bool TAudioOut::FinishPendingClose() {
    if (!ClosePending) return true;
    waveOutReset(FWaveHandle);  // its late return arrives at the old window and is dropped there
    for (int i = 0; i < RingSize; ++i) waveOutUnprepareHeader(FWaveHandle, Headers[i], sizeof(WAVEHDR));
    const MMRESULT r = waveOutClose(FWaveHandle);
    ClosePending = (r == WAVERR_STILLPLAYING);
    if (ClosePending) FErrorMessage = WaveOutErrorText(r);
    return !ClosePending;
}

}  // namespace audio
