#pragma once
// Errors the mixer component raises; each carries its English message.
#include <stdexcept>

namespace mixer {

// No mixer device, or a device number beyond the last one.
class EMixerID : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The device's capabilities could not be read.
class EMixerCaps : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The device could not be opened.
class EMixerOpen : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace mixer
