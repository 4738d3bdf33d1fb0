#pragma once
// The curves the lab fits to a graph's points, with the names scripts use
// (`lab:fit=...`, the --state `lab.Fit` `Model`) and the teacher reads.
#include <QString>
#include <array>
#include <optional>

namespace lab::fit {

enum class Model {
    Line,          // y = a·x + b
    Proportional,  // y = a·x
    Resonance,     // the current of a series circuit: I(f) = I₀ / √(1 + Q²(f/f₀ − f₀/f)²)
    Impedance,     // |Z|(f) = √(R² + (2πfL − 1/(2πfC))²)
    Phase,         // φ(f) = atan(Q(f/f₀ − f₀/f)), in degrees, positive when the voltage leads
};
inline constexpr std::array<Model, 5> kModels{Model::Line, Model::Proportional, Model::Resonance, Model::Impedance,
                                              Model::Phase};

QString modelKey(Model model);   // "line", "proportional", "resonance", "impedance", "phase"
QString modelName(Model model);  // Czech: "přímka", "přímá úměrnost", "rezonanční křivka", ...
QString modelGenitive(Model model);  // "proložení přímky", "... rezonanční křivky"
// By key; nothing for an unknown one.
std::optional<Model> modelByKey(const QString& key);
// The keys, for messages: "line, proportional, ...".
QString modelKeys();

}  // namespace lab::fit
