#pragma once
// The bench's load from its description: elements separated by commas, each
// a name, '=' and a value, e.g. "R=100", "R=100,C=10u", "R=10,L=100m,C=10u".
//
// Names are R, L and C (either case), each at most once. A value is a decimal
// number, optionally followed by one SI prefix (p n u µ m k M) and the
// element's unit: ohm, ohms or Ω for R, H for L, F for C ("10uF", "2.2 kΩ").
// Spaces around names, values and units are allowed. R >= 0, L > 0, C > 0,
// all finite; an element left out is a wire.
#include "bench/bench_rlc.h"

#include <optional>
#include <string>
#include <string_view>

namespace bench {

struct BenchRlcParse {
    std::optional<BenchRlc> load;  // when the description is good
    std::string error;             // else what is wrong with it, in English
};

BenchRlcParse parseBenchRlc(std::string_view description);

}  // namespace bench
