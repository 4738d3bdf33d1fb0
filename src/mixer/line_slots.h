#pragma once
// The slot rules: which well-known slot of the mixer a line goes into, by its
// component type.
//
//   DST_SPEAKERS, DST_HEADPHONES  SpeakersDest, first
//   DST_WAVEIN                    RecordDest, first
//   DST_VOICEIN                   VoiceInDest, first
//   SRC_PCSPEAKER                 PCSpeaker, first
//   SRC_WAVEOUT                   WaveOut, first
//   SRC_SYNTHESIZER               SynthPlay, while RecordDest and SynthPlay are empty
//   SRC_LINE, _MICROPHONE, _COMPACTDISC, _TELEPHONE, _AUXILIARY, _ANALOG
//       the playback slot while RecordDest and that slot are empty; otherwise
//       the recording slot (the first line that goes there; for SRC_LINE the
//       last), whose line then records its source index in SourceIndex.
//
// A line that already sits in one of its kind's slots keeps its place when it
// is read again (a line change), and a line in a recording slot keeps its
// source index.
#include "mixer/source.h"
#include "platform/win/win_types.h"

namespace mixer {

class TAudioMixer;

// `source` is the line's index within its destination, -1 for a destination.
void applySlotRule(TAudioMixer& mixer, TSource& line, platform::win::DWORD componentType, std::int32_t source);

}  // namespace mixer
