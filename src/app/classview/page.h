#pragma once
// The students' page as served: one HTML document with its styles, its
// script and the graph library (Debian's dygraphs) written into it, built
// into the program. Nothing is loaded from anywhere else.
#include <QByteArray>

namespace app::classview {

// Built once from the program's resources.
const QByteArray& pageBytes();

}  // namespace app::classview
