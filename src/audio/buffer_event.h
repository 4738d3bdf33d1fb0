#pragma once
// The callbacks by which the audio components talk to their owner.
#include <QObject>
#include <cstdint>
#include <functional>

namespace audio {

// Hands one of the component's buffers to the owner, in place. Size is in bytes,
// BufferSize on entry. Recording: true = the data was taken (a changed Size is
// ignored). Playback: Size on return is the play length (never above
// BufferSize); true = the buffer was filled.
using TBufferEvent = std::function<bool(char* Buffer, std::int32_t& Size)>;

// A notification; Sender is the component's hidden callback window.
using TNotifyEvent = std::function<void(QObject* Sender)>;

}  // namespace audio
