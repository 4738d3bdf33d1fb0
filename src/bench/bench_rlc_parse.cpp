#include "bench/bench_rlc_parse.h"

#include <array>
#include <charconv>
#include <cmath>

namespace bench {
namespace {

std::string_view trimmed(std::string_view s) {
    const auto space = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && space(s.front())) s.remove_prefix(1);
    while (!s.empty() && space(s.back())) s.remove_suffix(1);
    return s;
}

struct Prefix {
    std::string_view text;
    double factor;
};
constexpr std::array<Prefix, 8> kPrefixes{{{"p", 1e-12},
                                           {"n", 1e-9},
                                           {"u", 1e-6},
                                           {"\xC2\xB5", 1e-6},  // micro sign
                                           {"\xCE\xBC", 1e-6},  // Greek mu
                                           {"m", 1e-3},
                                           {"k", 1e3},
                                           {"M", 1e6}}};

bool isUnitOf(char element, std::string_view unit) {
    switch (element) {
    case 'R':
        return unit == "ohm" || unit == "ohms" || unit == "Ohm" || unit == "Ohms" || unit == "\xCE\xA9" /* Omega */ ||
               unit == "\xE2\x84\xA6" /* ohm sign */;
    case 'L':
        return unit == "H";
    default:
        return unit == "F";
    }
}

std::string_view unitName(char element) {
    switch (element) {
    case 'R':
        return "ohm or \xCE\xA9";
    case 'L':
        return "H";
    default:
        return "F";
    }
}

// The value of element `name` from its text; an error text if it is not good.
std::optional<double> valueOf(char name, std::string_view text, std::string& error) {
    const std::string element(1, name);
    text = trimmed(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range) {
        error = element + "'s value is out of range";
        return std::nullopt;
    }
    if (ec != std::errc{}) {
        error = element + "'s value '" + std::string(text) + "' is not a number";
        return std::nullopt;
    }
    std::string_view rest = trimmed(text.substr(static_cast<std::size_t>(end - text.data())));
    for (const Prefix& p : kPrefixes) {
        if (rest.starts_with(p.text)) {
            rest = trimmed(rest.substr(p.text.size()));
            value *= p.factor;
            break;
        }
    }
    if (!rest.empty() && !isUnitOf(name, rest)) {
        error = "unknown unit '" + std::string(rest) + "' for " + element + " (use an SI prefix and " +
                std::string(unitName(name)) + ")";
        return std::nullopt;
    }
    if (!std::isfinite(value)) {
        error = element + " is not a finite number";
        return std::nullopt;
    }
    if (name == 'R' && value < 0) {
        error = "R must not be negative";
        return std::nullopt;
    }
    if (name != 'R' && value <= 0) {
        error = element + " must be positive (leave " + element + " out for none)";
        return std::nullopt;
    }
    return value;
}

}  // namespace

BenchRlcParse parseBenchRlc(std::string_view description) {
    BenchRlcParse result;
    if (trimmed(description).empty()) {
        result.error = "empty load description (give e.g. R=100 or R=10,L=100m,C=10u)";
        return result;
    }
    BenchRlc load;
    bool seen[3] = {false, false, false};  // R, L, C
    while (true) {
        const std::size_t comma = description.find(',');
        const std::string_view item = trimmed(description.substr(0, comma));
        if (item.empty()) {
            result.error = "empty element between commas";
            return result;
        }
        const std::size_t equals = item.find('=');
        const std::string_view nameText = trimmed(item.substr(0, equals));
        if (nameText.empty()) {
            result.error = "missing element name before '='";
            return result;
        }
        char name = nameText.size() == 1 ? nameText[0] : '?';
        if (name >= 'a' && name <= 'z') name = static_cast<char>(name - 'a' + 'A');
        const int slot = name == 'R' ? 0 : name == 'L' ? 1 : name == 'C' ? 2 : -1;
        if (slot < 0) {
            result.error = "unknown element '" + std::string(nameText) + "' (use R, L or C)";
            return result;
        }
        if (seen[slot]) {
            result.error = std::string("duplicate element ") + name;
            return result;
        }
        seen[slot] = true;
        if (equals == std::string_view::npos || trimmed(item.substr(equals + 1)).empty()) {
            result.error = std::string("missing value for ") + name;
            return result;
        }
        const std::optional<double> value = valueOf(name, item.substr(equals + 1), result.error);
        if (!value) return result;
        if (slot == 0) load.ohms = *value;
        if (slot == 1) load.henries = *value;
        if (slot == 2) load.farads = *value;
        if (comma == std::string_view::npos) break;
        description.remove_prefix(comma + 1);
    }
    result.load = load;
    return result;
}

}  // namespace bench
