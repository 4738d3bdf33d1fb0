#pragma once
// Result codes of the wave-audio calls, and the text that belongs to each.
#include "platform/win/mm_result.h"
#include "platform/win/win_types.h"

#include <string_view>

namespace platform::wave {

using namespace platform::win;

inline constexpr MMRESULT WAVERR_BADFORMAT = 32;
inline constexpr MMRESULT WAVERR_STILLPLAYING = 33;
inline constexpr MMRESULT WAVERR_UNPREPARED = 34;
inline constexpr MMRESULT WAVERR_SYNC = 35;

// The text for a result code; empty for a code that has none.
std::string_view resultText(MMRESULT code);

}  // namespace platform::wave
