#pragma once
// TAudioIO: the common base of the recorder TAudioIn and the player TAudioOut.
// It owns the stream format, a pool of four buffers with their headers (global
// memory, locked for the component's life), the counters and flags both
// directions share, the last error text, and the hidden callback windows.
//
// Memory safety beyond the plain design: all four buffer slots are always
// allocated, each of RequestedBufferSize bytes, which no format change can
// exceed; a BufferSize assignment while a device may hold the buffers is kept
// and applied at the next open; the subclasses stop an open device before the
// memory is released, and drop notifications of an earlier open.
#include "audio/buffer_event.h"
#include "audio/callback_win.h"
#include "platform/wave/wave_types.h"
#include "platform/win/global_memory.h"

#include <QObject>
#include <QPointer>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace audio {

// The counters are 32-bit and wrap by definition (two's complement).
inline std::int32_t WrapAdd(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
inline std::int32_t WrapSub(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

class TAudioIO : public QObject {
public:
    static constexpr int kMaxBuffers = 4;

    explicit TAudioIO(QObject* AOwner);
    ~TAudioIO() override;
    TAudioIO(const TAudioIO&) = delete;
    TAudioIO& operator=(const TAudioIO&) = delete;

    // Properties.
    std::int32_t BufferSize() const { return FBufferSize; }
    void SetBufferSize(std::int32_t value);
    std::int32_t NumBuffers() const { return FNumBuffers; }
    void SetNumBuffers(std::int32_t value);
    std::int32_t FrameRate() const;
    void SetFrameRate(std::int32_t value);
    bool Stereo() const { return WaveFormat.nChannels == 2; }
    void SetStereo(bool value);
    std::uint16_t Quantization() const { return WaveFormat.wBitsPerSample; }
    void SetQuantization(std::uint16_t value);

    TNotifyEvent OnStart;
    TNotifyEvent OnStop;

    // Read by the owner (and the --state report).
    std::int32_t FilledCount() const { return FFilledCount; }
    std::int32_t QueuedCount() const { return FQueuedCount; }
    std::int32_t DoneCount() const { return FDoneCount; }
    const std::string& ErrorMessage() const { return FErrorMessage; }

    // Inspection.
    std::int32_t RequestedBufferSize() const { return FRequestedBufferSize; }
    std::int32_t NextBuffer() const { return FNextBuffer; }
    bool Running() const { return FRunning; }
    bool Streaming() const { return FStreaming; }
    const platform::wave::WAVEFORMATEX& Format() const { return WaveFormat; }
    char* Buffer(int i) const { return Buffers[i]; }
    platform::win::HGLOBAL BufferHandle(int i) const { return BufferHandles[i]; }
    const platform::wave::WAVEHDR* Header(int i) const { return Headers[i]; }
    // Hidden windows still alive (current and retired), for leak checks.
    int CallBackWinCount() const;

    virtual void StopImmediately();
    virtual void StopWhenDrained();

protected:
    void UpdateFormat();
    bool InitHeaders();
    bool AllocHeaders();
    void FreeHeaders();
    bool AllocBuffers();
    bool FreeBuffers();
    std::string WaveOutErrorText(platform::win::MMRESULT code) const;
    std::string WaveInErrorText(platform::win::MMRESULT code) const;

    // Before an open: a pending BufferSize applied, headers and buffers present.
    bool EnsurePool();
    // Whether a device may still hold the buffers (open, or its close pending).
    virtual bool DeviceBusy() const = 0;

    // Makes `win` the current callback window; the previous one is released
    // once its device's close notification has been seen.
    void AdoptCallBackWin(CallBackWinBase* win);
    bool IsCurrent(const CallBackWinBase& win) const { return &win == FCallBackWin; }
    // At a close notification: the window is released unless it is current.
    void CloseNotified(CallBackWinBase& win);
    void DeleteCallBackWins();

    std::int32_t FBufferSize = 0;
    std::int32_t FRequestedBufferSize = 0;
    std::optional<std::int32_t> PendingBufferSize;
    std::int32_t FNumBuffers = 0;
    // NumBuffers as it was at the last open: the ring of the open device keeps
    // its size when the property changes meanwhile.
    std::int32_t RingSize = 2;
    bool FPaused = false;
    platform::wave::WAVEFORMATEX WaveFormat;
    platform::win::UINT DeviceID = 0;
    std::array<platform::win::HGLOBAL, kMaxBuffers> HeaderHandles{};
    std::array<platform::wave::WAVEHDR*, kMaxBuffers> Headers{};
    std::array<char*, kMaxBuffers> Buffers{};
    std::array<platform::win::HGLOBAL, kMaxBuffers> BufferHandles{};
    std::int32_t FNextBuffer = 0;
    bool FStreaming = false;
    std::string FErrorMessage;
    bool FRunning = false;
    std::int32_t FFilledCount = 0;
    std::int32_t FQueuedCount = 0;
    std::int32_t FDoneCount = 0;

    CallBackWinBase* FCallBackWin = nullptr;

private:
    std::vector<QPointer<CallBackWinBase>> Windows;
};

}  // namespace audio
