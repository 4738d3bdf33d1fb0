#pragma once
// What the teacher reads of a fit and of a marked peak, in Czech with
// units and a decimal comma: "f₀ = 159,2 ± 0,3 Hz", "Q = 3,16 ± 0,05",
// "maximum 177,4 mA při 159,2 Hz". A number and its unit are joined by a
// no-break space, so that a line never breaks between them (a degree sign
// follows the number straight). The units are
// the lab's quantities' (quantity.h); L is written in mH (H from 1 H up),
// C in µF.
#include "lab/fit/peak.h"
#include "lab/quantity.h"

#include <QStringList>

namespace lab::fit {

// "159,2 ± 0,3": the uncertainty to one significant digit, or two when it
// starts with 1 or 2 ("0,14"), the value to the same decimal place. With no
// uncertainty (points exactly on the curve) the value to 4 significant digits, "± 0".
QString valueWithUncertainty(double value, double uncertainty);

// The curve's equation in the graph's symbols: "I = I₀ / √(1 + Q²(f/f₀ − f₀/f)²)",
// "U = R·I" (a slope of mV per mA is a resistance), "y = a·x + b" otherwise.
QString equationOf(Model model, Quantity x, Quantity y);
// A line per parameter: "f₀ = 503,3 ± 1,2 Hz", "Q = 3,16 ± 0,05", ...
QStringList parameterTexts(const Fit& fit, Quantity x, Quantity y);
// "R² = 0,99987, RMS reziduí 0,021 mA"
QString goodnessText(const Fit& fit, Quantity y);
// All on one line: "rezonanční křivka: f₀ = …, Q = …, I₀ = …, B = …; R² = …, RMS reziduí …"
QString statementOf(const Fit& fit, Quantity x, Quantity y);

// "maximum 177,4 mA při 159,2 Hz", "minimum 10,00 Ω při 159,2 Hz": to 4 significant digits.
QString maximumText(const Peaks& peaks, Quantity x, Quantity y);
QString minimumText(const Peaks& peaks, Quantity x, Quantity y);

}  // namespace lab::fit
