#include "app/lab/live_values.h"

#include "lab/phase_words.h"

#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <cmath>

namespace app::lab {
namespace {

// What is shown, in order (time is the table's).
constexpr ::lab::Quantity kShown[] = {::lab::Quantity::Current,   ::lab::Quantity::Voltage,
                                      ::lab::Quantity::Frequency, ::lab::Quantity::Phase,
                                      ::lab::Quantity::Impedance, ::lab::Quantity::Power,
                                      ::lab::Quantity::PowerFactor};

// Decimals on screen: fewer than in the file, readable from afar.
int shownDecimals(::lab::Quantity q, double v) {
    switch (q) {
        case ::lab::Quantity::Phase: return ::lab::kShownPhaseDecimals;  // as the waveforms' title
        case ::lab::Quantity::PowerFactor: return 3;
        case ::lab::Quantity::Frequency: return 1;
        default: break;
    }
    const double size = std::fabs(v);
    return size >= 100 ? 1 : size >= 10 ? 2 : 3;
}

}  // namespace

LiveValues::LiveValues(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("liveValues"));
    auto* grid = new QGridLayout(this);
    grid->setVerticalSpacing(2);
    QFont nameFont = font();
    nameFont.setPointSize(13);
    QFont valueFont = font();
    valueFont.setPointSize(26);
    valueFont.setBold(true);
    int row = 0;
    for (const ::lab::Quantity q : kShown) {
        auto* label = new QLabel(::lab::captionOf(q), this);
        label->setFont(nameFont);
        auto* value = new QLabel(this);
        value->setObjectName(QStringLiteral("value") + ::lab::keyOf(q));
        value->setFont(valueFont);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("−0000,00 mW")));
        grid->addWidget(label, row, 0);
        grid->addWidget(value, row, 1);
        values_[::lab::indexOf(q)] = value;
        ++row;
    }
}

void LiveValues::display(const ::lab::LabPoint& point) {
    static const QLocale czech(QLocale::Czech);
    for (const ::lab::Quantity q : kShown) {
        const double v = point[q];
        const QString unit = ::lab::unitOf(q);
        if (!std::isfinite(v)) {
            values_[::lab::indexOf(q)]->setText(QStringLiteral("–"));  // absent: no unit either
            continue;
        }
        QString text = czech.toString(v, 'f', shownDecimals(q, v));
        if (!unit.isEmpty()) text += (q == ::lab::Quantity::Phase ? QString() : QStringLiteral(" ")) + unit;
        values_[::lab::indexOf(q)]->setText(text);
    }
}

}  // namespace app::lab
