#include "mixer/source.h"

namespace mixer {

TVolume* TSource::GetVolume() const {
    if (VolumeIndex < 0 || static_cast<std::size_t>(VolumeIndex) >= Controls.size()) return nullptr;
    const auto& values = Controls[static_cast<std::size_t>(VolumeIndex)]->Values;
    return values.empty() ? nullptr : values.front().get();
}

}  // namespace mixer
