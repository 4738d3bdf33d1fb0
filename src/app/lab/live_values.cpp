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
    for (const ::lab::Quantity q : kShown) {
        auto* caption = new QLabel(::lab::captionOf(q), this);
        auto* value = new QLabel(this);
        value->setObjectName(QStringLiteral("value") + ::lab::keyOf(q));
        value->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        captions_[::lab::indexOf(q)] = caption;
        values_[::lab::indexOf(q)] = value;
    }
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("overloadNote"));
    note_->setWordWrap(true);
    QPalette red = note_->palette();
    red.setColor(QPalette::WindowText, Qt::white);
    red.setColor(QPalette::Window, QColor(192, 0, 0));
    note_->setPalette(red);
    note_->setAutoFillBackground(true);
    note_->setMargin(4);
    note_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    note_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    // The place is kept while the note is hidden: the values never move.
    QSizePolicy keep = note_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    note_->setSizePolicy(keep);
    note_->hide();
    setColumns(4);
    setTextSizes(QFontInfo(font()).pixelSize(), QFontInfo(font()).pixelSize() * 8 / 3);
}

void LiveValues::setColumns(int columns) {
    delete layout();
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(0);
    int place = 0;
    for (const ::lab::Quantity q : kShown) {
        grid->addWidget(captions_[::lab::indexOf(q)], 2 * (place / columns), place % columns);
        grid->addWidget(values_[::lab::indexOf(q)], 2 * (place / columns) + 1, place % columns);
        ++place;
    }
    // The note takes what is left of the last row.
    grid->addWidget(note_, 2 * (place / columns), place % columns, 2, columns - place % columns);
    for (int c = 0; c < columns; ++c) grid->setColumnStretch(c, 1);
}

void LiveValues::setNote(const QString& text) {
    note_->setText(text);
    note_->setVisible(!text.isEmpty());
}

void LiveValues::setTextSizes(int caption, int value) {
    QFont captionFont = font();
    captionFont.setPixelSize(caption);
    QFont valueFont = font();
    valueFont.setPixelSize(value);
    valueFont.setBold(true);
    QFont noteFont = captionFont;
    noteFont.setBold(true);
    for (const ::lab::Quantity q : kShown) {
        captions_[::lab::indexOf(q)]->setFont(captionFont);
        QLabel* v = values_[::lab::indexOf(q)];
        v->setFont(valueFont);
        v->setMinimumWidth(v->fontMetrics().horizontalAdvance(QStringLiteral("0000,0 mW")));
    }
    note_->setFont(noteFont);
}

void LiveValues::display(const ::lab::LabPoint& point) {
    static const QLocale czech = [] {
        QLocale l(QLocale::Czech);
        l.setNumberOptions(QLocale::OmitGroupSeparator);  // "3559,5 mV": no wider than it must be
        return l;
    }();
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
