#include "lab/czech_count.h"

namespace lab {

QString czechForm(long long n, const CzechForms& forms) {
    const long long size = n < 0 ? -n : n;
    if (size == 1) return QString::fromUtf8(forms.one);
    if (size >= 2 && size <= 4) return QString::fromUtf8(forms.few);
    return QString::fromUtf8(forms.many);
}

QString czechCount(long long n, const CzechForms& forms) {
    return QStringLiteral("%1 %2").arg(n).arg(czechForm(n, forms));
}

}  // namespace lab
