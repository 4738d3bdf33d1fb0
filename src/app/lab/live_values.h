#pragma once
// The live values, large enough for the back row: I, U, f, φ, |Z|, P and
// λ with their Czech captions and units (φ, |Z|, P and λ the load's own). Labels by object name: value<Key>
// (e.g. valueCurrentMilliamps).
#include "lab/lab_point.h"

#include <QWidget>
#include <array>

class QLabel;

namespace app::lab {

class LiveValues : public QWidget {
public:
    explicit LiveValues(QWidget* parent);
    void display(const ::lab::LabPoint& point);

private:
    std::array<QLabel*, ::lab::kQuantityCount> values_{};
};

}  // namespace app::lab
