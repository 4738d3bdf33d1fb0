#pragma once
// The mixer's part of the program's state report (--state): whether it is
// open, the card's name, and every line with its volume.
//
//   { "Active": true, "ProductName": "...", "MixerCount": 1,
//     "Destinations": [ { "Name": "...", "ShortName": "...", "Available": true,
//                         "Volume": { "Left": 65535, "Right": 65535 },   (null without a volume control)
//                         "Sources": [ { ...the same, without "Sources" } ] } ],
//     "WaveOut": { line }, "SpeakersDest": { line }, "RecordDest": { line }   (null when the slot is empty) }
#include <QJsonObject>

namespace mixer {

class TAudioMixer;

QJsonObject mixerStateJson(const TAudioMixer& mixer);

}  // namespace mixer
