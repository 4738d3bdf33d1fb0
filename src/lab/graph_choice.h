#pragma once
// Which graph the lab draws: a quantity against time or against another, each
// axis linear or logarithmic, with or without the fitted line.
#include "lab/quantity.h"

#include <QString>
#include <optional>

namespace lab {

struct GraphChoice {
    Quantity y = Quantity::Current;
    Quantity x = Quantity::Time;
    bool logX = false;
    bool logY = false;
    bool fit = false;
    bool peaks = false;   // the maximum and the minimum marked and stated
    bool origin = false;  // the linear axes reach 0 (a line through the origin shows it)
    bool operator==(const GraphChoice&) const = default;
};

// "Y:X", "Y:X:logx", "Y:X:logy" or "Y:X:loglog" with the quantities' keys
// (the --do lab:graph= argument), e.g. "ImpedanceOhms:FrequencyHz:logx"; the
// fit stays as in `base`. Nothing when it does not read so.
std::optional<GraphChoice> parseGraphChoice(const QString& text, const GraphChoice& base = {});

}  // namespace lab
