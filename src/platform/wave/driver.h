#pragma once
// Driver: the interface every wave-audio backend implements (simulated, ALSA,
// WAV file, bench). The wave API (wave_api.h) is the only caller; components
// never see a driver. The API keeps the table of open devices, the header
// flags and every notification; a backend only moves audio.
//
// What a backend may assume (the API checks these once, at the front):
//  - open(): the format is PCM and self-consistent (nChannels >= 1,
//    wBitsPerSample 8 or 16, nBlockAlign = nChannels * wBitsPerSample / 8,
//    nAvgBytesPerSec = nBlockAlign * nSamplesPerSec, nSamplesPerSec > 0);
//    `device` is below deviceCount() or WAVE_MAPPER (the backend's preferred
//    device). The backend refuses formats its device cannot handle with
//    WAVERR_BADFORMAT, and a busy or missing device with MMSYSERR_ALLOCATED or
//    MMSYSERR_BADDEVICEID. WAVE_FORMAT_QUERY is answered through open() too:
//    the API closes the stream at once and posts nothing.
//  - Stream calls come from one thread (the UI thread), never at the same time,
//    and never after close().
//  - submit(): the header is prepared, not held by the device, lpData is not
//    null. dwBufferLength may be 0 or not a whole number of frames: a backend
//    records or plays whole frames only (length / nBlockAlign frames).
//  - close() is called only when every submitted buffer has been given back.
//  - prepare()/unprepare() are offered for fault injection and per-buffer setup;
//    most backends keep the defaults.
//
// What a backend must guarantee:
//  - Buffers come back through BufferSink::done() exactly once each, in the
//    order they were submitted (input: in the order added; output: played in the
//    order written). Nothing else reports a buffer.
//  - reset() stops the device and gives back every submitted buffer, in order,
//    before it returns (a partly recorded input buffer reports the bytes it
//    holds). After reset() an input device is stopped (start() again to record);
//    an output device keeps its paused/running state and plays what is written
//    next.
//  - After close() returns, the backend never touches a header or buffer and
//    never calls the sink again; the sink may be destroyed.
//  - The data of a buffer is touched only between submit() and its done().
//    Read lpData and dwBufferLength at submit(); write no header field (the sink
//    sets dwBytesRecorded and the flags).
//
// Threads: a real backend owns one thread per open device (created in open(),
// joined in close()); that thread touches only the queued buffers and reports
// them through the sink, which is thread-safe and may be called from any thread,
// also from inside submit()/reset(). A virtual backend (sim, file, bench) runs
// on a VirtualClock instead: its callbacks run on the thread advancing the
// clock. No allocation or locking in a real backend's per-buffer hot path
// beyond the sink call.
//
// Notifications: the sink posts one MM_WIM_DATA / MM_WOM_DONE per buffer to the
// callback window, with the device handle in wParam and the header address in
// lParam, so that a component can drop late notifications of an earlier open.
// The API posts MM_*_OPEN after open() succeeded and MM_*_CLOSE after close().
#include "platform/wave/result_codes.h"
#include "platform/wave/wave_types.h"

#include <memory>
#include <string>

namespace platform::wave {

enum class Direction { Input, Output };

// Where a backend reports finished buffers. Implemented by the wave API.
class BufferSink {
public:
    // Thread-safe. The buffer is finished: for input `bytesRecorded` bytes of
    // it hold recorded data (a whole number of frames); for output it has been
    // played (or dropped by reset) and `bytesRecorded` is 0, or, for a buffer
    // that a reset cut short, the bytes of it played before (when known).
    virtual void done(WAVEHDR& header, DWORD bytesRecorded) = 0;

protected:
    ~BufferSink() = default;
};

// One open device.
class Stream {
public:
    virtual ~Stream() = default;

    // Per-buffer setup before first use / after last use. Default: accept.
    virtual MMRESULT prepare(WAVEHDR& /*header*/) { return MMSYSERR_NOERROR; }
    virtual MMRESULT unprepare(WAVEHDR& /*header*/) { return MMSYSERR_NOERROR; }

    // Input: queue an empty buffer to record into. Output: queue a buffer to
    // play. Returns MMSYSERR_NOERROR once queued.
    virtual MMRESULT submit(WAVEHDR& header) = 0;

    // Input: begin recording (a new input stream is stopped). Output: resume
    // after pause() (a new output stream is running).
    virtual MMRESULT start() = 0;
    // Output: halt playing at once; queued buffers stay queued. Input: stop
    // recording; the buffer being filled comes back with what it holds.
    virtual MMRESULT pause() = 0;

    // Stop and give back every queued buffer, in order, before returning.
    virtual void reset() = 0;

    // Release the device. Called once, with no buffer queued; the last call.
    virtual void close() = 0;
};

class Driver {
public:
    virtual ~Driver() = default;

    // A short name for messages and --list-devices ("sim", "alsa", ...).
    virtual std::string name() const = 0;

    virtual UINT deviceCount(Direction direction) const = 0;
    // Human-readable device name; empty for an unknown device.
    virtual std::string deviceName(Direction direction, UINT device) const = 0;

    // Opens `device` (or the preferred device for WAVE_MAPPER) with `format`.
    // On success stores the stream in `stream` and returns MMSYSERR_NOERROR;
    // the sink outlives the stream's close(). On failure leaves `stream` empty.
    virtual MMRESULT open(Direction direction, UINT device, const WAVEFORMATEX& format,
                          BufferSink& sink, std::unique_ptr<Stream>& stream) = 0;
};

}  // namespace platform::wave
