#include "audio/audio_io.h"

#include "platform/wave/wave_api.h"

#include <algorithm>

namespace audio {

using namespace platform;
using namespace platform::win;
using namespace platform::wave;

namespace {

constexpr std::int32_t kMinBufferSize = 512;

}  // namespace

TAudioIO::TAudioIO(QObject* AOwner) : QObject(AOwner) {
    FNumBuffers = 4;
    FRequestedBufferSize = 8192;
    FRunning = false;
    FPaused = false;
    DeviceID = WAVE_MAPPER;
    FErrorMessage.clear();
    WaveFormat.wFormatTag = WAVE_FORMAT_PCM;
    WaveFormat.wBitsPerSample = 16;
    WaveFormat.nChannels = 1;
    WaveFormat.nSamplesPerSec = 22050;
    UpdateFormat();
    // A failure leaves its text in ErrorMessage; the next open tries again.
    AllocHeaders();
    AllocBuffers();
}

// The subclasses have stopped their device by now.
TAudioIO::~TAudioIO() {
    DeleteCallBackWins();
    FreeBuffers();
    FreeHeaders();
}

void TAudioIO::SetBufferSize(std::int32_t value) {
    value = std::max(value, kMinBufferSize);
    if (DeviceBusy()) {
        // The device may be using the buffers: keep the size for the next open.
        PendingBufferSize = value;
        FErrorMessage = "BufferSize cannot change while the device is open; the new size applies at the next open";
        return;
    }
    PendingBufferSize.reset();
    FRequestedBufferSize = value;
    UpdateFormat();
    FreeBuffers();
    AllocBuffers();
}

void TAudioIO::SetNumBuffers(std::int32_t value) { FNumBuffers = std::clamp(value, 2, kMaxBuffers); }

std::int32_t TAudioIO::FrameRate() const { return static_cast<std::int32_t>(WaveFormat.nSamplesPerSec); }

void TAudioIO::SetFrameRate(std::int32_t value) {
    WaveFormat.nSamplesPerSec = static_cast<DWORD>(value);
    UpdateFormat();
}

void TAudioIO::SetStereo(bool value) {
    WaveFormat.nChannels = value ? 2 : 1;
    UpdateFormat();
}

void TAudioIO::SetQuantization(std::uint16_t value) {
    WaveFormat.wBitsPerSample = value <= 8 ? 8 : 16;
    UpdateFormat();
}

int TAudioIO::CallBackWinCount() const {
    return static_cast<int>(std::count_if(Windows.begin(), Windows.end(), [](const auto& w) { return !w.isNull(); }));
}

void TAudioIO::StopImmediately() {
    FRunning = false;
    FStreaming = false;
}

void TAudioIO::StopWhenDrained() { FStreaming = false; }

void TAudioIO::UpdateFormat() {
    WaveFormat.nBlockAlign = static_cast<WORD>((WaveFormat.wBitsPerSample / 8) * WaveFormat.nChannels);
    WaveFormat.nAvgBytesPerSec = WaveFormat.nBlockAlign * WaveFormat.nSamplesPerSec;
    FBufferSize = FRequestedBufferSize - FRequestedBufferSize % WaveFormat.nBlockAlign;
}

bool TAudioIO::InitHeaders() {
    UpdateFormat();
    RingSize = FNumBuffers;
    for (int i = 0; i < RingSize; ++i) {
        if (Headers[i] == nullptr || Buffers[i] == nullptr) return false;  // EnsurePool prevents this
        WAVEHDR& h = *Headers[i];
        h.lpData = Buffers[i];
        h.dwBufferLength = static_cast<DWORD>(FBufferSize);
        h.dwBytesRecorded = 0;
        h.dwUser = 0;
        h.dwFlags = 0;
        h.dwLoops = 0;
        h.lpNext = nullptr;
        h.reserved = 0;
    }
    return true;
}

bool TAudioIO::AllocHeaders() {
    for (int i = 0; i < kMaxBuffers; ++i) {
        HeaderHandles[i] = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT, sizeof(WAVEHDR));
        if (HeaderHandles[i] == nullptr) {
            FreeHeaders();
            FErrorMessage = "Error allocating wave header memory";
            return false;
        }
        Headers[i] = static_cast<WAVEHDR*>(GlobalLock(HeaderHandles[i]));
        if (Headers[i] == nullptr) {
            FreeHeaders();
            FErrorMessage = "Could not lock header memory for recording";
            return false;
        }
        *Headers[i] = WAVEHDR{};
    }
    return true;
}

void TAudioIO::FreeHeaders() {
    for (int i = 0; i < kMaxBuffers; ++i) {
        if (HeaderHandles[i] == nullptr) continue;
        GlobalUnlock(HeaderHandles[i]);
        GlobalFree(HeaderHandles[i]);
        HeaderHandles[i] = nullptr;
        Headers[i] = nullptr;
    }
}

// All four slots, each RequestedBufferSize bytes: a later NumBuffers or format
// change never needs a buffer that is missing or too small.
bool TAudioIO::AllocBuffers() {
    for (int i = 0; i < kMaxBuffers; ++i) {
        BufferHandles[i] = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, static_cast<std::size_t>(FRequestedBufferSize));
        if (BufferHandles[i] == nullptr) {
            FreeBuffers();
            FErrorMessage = "Error allocating wave buffer memory";
            return false;
        }
        Buffers[i] = static_cast<char*>(GlobalLock(BufferHandles[i]));
        if (Buffers[i] == nullptr) {
            FreeBuffers();
            FErrorMessage = "Error Locking wave buffer memory";
            return false;
        }
        if (Headers[i] != nullptr) Headers[i]->lpData = Buffers[i];
    }
    return true;
}

bool TAudioIO::FreeBuffers() {
    bool freed = false;
    for (int i = 0; i < kMaxBuffers; ++i) {
        if (BufferHandles[i] == nullptr) continue;
        GlobalUnlock(BufferHandles[i]);
        GlobalFree(BufferHandles[i]);
        BufferHandles[i] = nullptr;
        Buffers[i] = nullptr;
        freed = true;
    }
    return freed;
}

std::string TAudioIO::WaveOutErrorText(MMRESULT code) const {
    char text[MAXERRORLENGTH] = {};
    waveOutGetErrorTextA(code, text, MAXERRORLENGTH);
    return text;
}

std::string TAudioIO::WaveInErrorText(MMRESULT code) const {
    char text[MAXERRORLENGTH] = {};
    waveInGetErrorTextA(code, text, MAXERRORLENGTH);
    return text;
}

bool TAudioIO::EnsurePool() {
    const bool headersMissing =
        std::any_of(HeaderHandles.begin(), HeaderHandles.end(), [](HGLOBAL h) { return h == nullptr; });
    if (headersMissing) {
        FreeHeaders();
        if (!AllocHeaders()) return false;
    }
    const bool buffersMissing =
        std::any_of(BufferHandles.begin(), BufferHandles.end(), [](HGLOBAL h) { return h == nullptr; });
    if (PendingBufferSize || buffersMissing || headersMissing) {
        if (PendingBufferSize) FRequestedBufferSize = *PendingBufferSize;
        PendingBufferSize.reset();
        UpdateFormat();
        FreeBuffers();
        if (!AllocBuffers()) return false;
    }
    return true;
}

void TAudioIO::AdoptCallBackWin(CallBackWinBase* win) {
    if (FCallBackWin != nullptr && (!FCallBackWin->HasDevice || FCallBackWin->CloseSeen))
        FCallBackWin->deleteLater();  // nothing more will arrive there
    // Otherwise the old window waits for its close notification (CloseNotified).
    std::erase_if(Windows, [](const auto& w) { return w.isNull(); });
    Windows.emplace_back(win);
    FCallBackWin = win;
}

void TAudioIO::CloseNotified(CallBackWinBase& win) {
    win.CloseSeen = true;
    if (!IsCurrent(win)) win.deleteLater();
}

void TAudioIO::DeleteCallBackWins() {
    for (auto& w : Windows) delete w.data();
    Windows.clear();
    FCallBackWin = nullptr;
}

}  // namespace audio
