#pragma once
// A number with its noun in the Czech form for it: "1 bod", "2 body",
// "5 bodů", "0 bodů"; the forms are given as in a dictionary (one, two to
// four, five and more).
#include <QString>

namespace lab {

struct CzechForms {
    const char* one;   // "bod"
    const char* few;   // "body" (2, 3, 4)
    const char* many;  // "bodů" (0, 5 and more)
};

inline constexpr CzechForms kPoints{"bod", "body", "bodů"};
inline constexpr CzechForms kSteps{"krok", "kroky", "kroků"};

// The form alone, for the number `n`.
QString czechForm(long long n, const CzechForms& forms);
// "3 body".
QString czechCount(long long n, const CzechForms& forms);

}  // namespace lab
