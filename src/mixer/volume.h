#pragma once
// TVolume: one value item of a mixer control. Setting its left or right value
// writes the whole control to the device at once.
#include "platform/win/win_types.h"

#include <cstdint>

namespace mixer {

class TAudioControl;

class TVolume {
public:
    TVolume(TAudioControl* control, platform::win::DWORD index) : Control(control), Index(index) {}

    // The words of the first and second channel as last read or set; for a
    // one-channel or uniform control, and for the items of a multiple-item
    // control, both hold the same word.
    platform::win::DWORD Left() const { return left_; }
    platform::win::DWORD Right() const { return right_; }

    // Store the word, then write every value of the control (with the other
    // channel's stored word). A failed write leaves the control unavailable.
    void SetLeft(platform::win::DWORD value);
    void SetRight(platform::win::DWORD value);

    TAudioControl* const Control;   // the control this item belongs to
    const platform::win::DWORD Index;    // item index within the control, 0 for a single item

private:
    friend class TAudioControl;
    platform::win::DWORD left_ = 0;
    platform::win::DWORD right_ = 0;
};

}  // namespace mixer
