#include "lab/fit/fit_model.h"

#include <QStringList>

namespace lab::fit {
namespace {

struct ModelText {
    const char* key;
    const char* name;
    const char* genitive;
};

constexpr ModelText kTexts[kModels.size()] = {
    {"line", "přímka", "přímky"},
    {"proportional", "přímá úměrnost", "přímé úměrnosti"},
    {"resonance", "rezonanční křivka", "rezonanční křivky"},
    {"impedance", "impedance sériového obvodu", "impedance sériového obvodu"},
    {"phase", "fázový posun sériového obvodu", "fázového posunu sériového obvodu"},
};

const ModelText& textOf(Model model) { return kTexts[static_cast<std::size_t>(model)]; }

}  // namespace

QString modelKey(Model model) { return QString::fromLatin1(textOf(model).key); }
QString modelName(Model model) { return QString::fromUtf8(textOf(model).name); }
QString modelGenitive(Model model) { return QString::fromUtf8(textOf(model).genitive); }

std::optional<Model> modelByKey(const QString& key) {
    for (Model model : kModels)
        if (key == modelKey(model)) return model;
    return std::nullopt;
}

QString modelKeys() {
    QStringList keys;
    for (Model model : kModels) keys << modelKey(model);
    return keys.join(QStringLiteral(", "));
}

}  // namespace lab::fit
