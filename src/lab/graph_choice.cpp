#include "lab/graph_choice.h"

#include <QStringList>

namespace lab {

std::optional<GraphChoice> parseGraphChoice(const QString& text, const GraphChoice& base) {
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
    const auto y = quantityByKey(parts[0]);
    const auto x = quantityByKey(parts[1]);
    if (!y || !x) return std::nullopt;
    GraphChoice choice = base;
    choice.y = *y;
    choice.x = *x;
    choice.logX = choice.logY = false;
    if (parts.size() == 3) {
        const QString& axes = parts[2];
        if (axes == QLatin1String("logx"))
            choice.logX = true;
        else if (axes == QLatin1String("logy"))
            choice.logY = true;
        else if (axes == QLatin1String("loglog"))
            choice.logX = choice.logY = true;
        else if (axes != QLatin1String("lin"))
            return std::nullopt;
    }
    return choice;
}

}  // namespace lab
