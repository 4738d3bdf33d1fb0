#pragma once
// The live values, large enough for the back row: I, U, f, φ, |Z|, P and
// λ with their Czech captions and units (φ, |Z|, P and λ the load's own),
// four or three to a row, each caption above its value; and in the place left, in
// red while a channel of the card clips, what the teacher must do about it.
// Labels by object name: value<Key> (e.g. valueCurrentMilliamps), overloadNote.
#include "lab/record/lab_point.h"

#include <QWidget>
#include <array>

class QLabel;

namespace app::lab {

class LiveValues : public QWidget {
public:
    explicit LiveValues(QWidget* parent);
    void display(const ::lab::LabPoint& point);
    // The overload note (app/session/overload_text.h), "" to hide it.
    void setNote(const QString& text);
    // So many values to a row (4 at the desk, 3 on a projector).
    void setColumns(int columns);
    // Captions and the note at `caption` pixels, the values at `value`.
    void setTextSizes(int caption, int value);

private:
    std::array<QLabel*, ::lab::kQuantityCount> values_{};
    std::array<QLabel*, ::lab::kQuantityCount> captions_{};
    QLabel* note_ = nullptr;
};

}  // namespace app::lab
