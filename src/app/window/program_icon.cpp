#include "app/window/program_icon.h"

#include <QApplication>
#include <QIcon>

namespace app::window {

void setProgramIcon() { QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/pristroje.svg"))); }

}  // namespace app::window
