#pragma once
// How a control's value words travel: every control moves one 32-bit word per
// channel and item; its type decides whether the word is read as signed,
// boolean or unsigned detail.
#include "platform/mixer/mixer_types.h"

namespace mixer {

enum class DetailClass { Signed, Boolean, Unsigned };

// Signed: SIGNEDMETER, SIGNED and the slider class. Boolean: the list class,
// BOOLEANMETER and the switch class. Unsigned: everything else.
DetailClass detailClassOf(platform::win::DWORD controlType);

// Single-selection lists: choosing one item deselects every other.
bool isSingleSelect(platform::win::DWORD controlType);

}  // namespace mixer
