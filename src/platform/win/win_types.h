#pragma once
// Integer types of the operating-system interfaces our components were designed
// against. Widths are fixed so that wrap-around and record sizes behave the same.
#include <cstdint>

namespace platform::win {

using UINT = std::uint32_t;
using DWORD = std::uint32_t;
using WORD = std::uint16_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using MMRESULT = std::uint32_t;
// A window handle: a process-wide number naming a MessageWindow; 0 is "none".
using HWND = std::uint32_t;

}  // namespace platform::win
