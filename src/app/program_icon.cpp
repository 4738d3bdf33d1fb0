#include "app/program_icon.h"

#include <QApplication>
#include <QIcon>

namespace app {

void setProgramIcon() { QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/pristroje.svg"))); }

}  // namespace app
