#pragma once
// The waveforms' title: the load's phase in words, with the number the live
// values show (the same value, rounded to the same digits), or why there is
// none.
#include "measure/circuit_reading.h"
#include "measure/true_rms/circuit_values.h"

#include <QString>

namespace lab {

// Decimals of the phase on screen, in the title and among the live values.
inline constexpr int kShownPhaseDecimals = 1;

// "Proud předbíhá napětí o 82,8°" (the voltage lags), "Napětí předbíhá proud
// o 30,0°", "Proud a napětí jsou ve fázi (φ = -0,3°)" while the phase shown
// is below 0.5°; without a phase "Žádný signál" (neither channel carries
// one), "Žádný signál proudu", "Žádný signál napětí", or "Zátěží neteče
// žádný proud" (an open circuit: the shunt carries the divider's current
// alone).
QString phaseWords(const measure::CircuitReading& reading, const measure::CircuitValues& values);

}  // namespace lab
