#include "mixer/volume.h"

#include "mixer/audio_control.h"

#include <limits>

namespace mixer {

namespace {

std::int32_t itemIndex(platform::win::DWORD index) {
    return index > static_cast<platform::win::DWORD>(std::numeric_limits<std::int32_t>::max())
               ? -1
               : static_cast<std::int32_t>(index);
}

}  // namespace

void TVolume::SetLeft(platform::win::DWORD value) {
    left_ = value;
    if (Control != nullptr) Control->WriteValues(itemIndex(Index), *this);
}

void TVolume::SetRight(platform::win::DWORD value) {
    right_ = value;
    if (Control != nullptr) Control->WriteValues(itemIndex(Index), *this);
}

}  // namespace mixer
