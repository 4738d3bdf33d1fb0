// The lab is found from the main window: its entry is the last of the menu
// bar, and every entry of the bar shows across the window's design width (none
// behind the bar's "»"), also once the menus have lengthened the captions.
#include "app/window/form.h"
#include "app/window/window_definition.h"
#include "platform/mixer/sim/classic_card.h"
#include "render/fonts.h"
#include "support/rig.h"

#include <QMenuBar>
#include <gtest/gtest.h>

namespace {

TEST(MenuBar, TheLabsEntryIsLastAndEveryEntryFitsTheDesignWidth) {
    render::registerFontSubstitutions();  // the window's fonts as the program has them
    testsupport::Rig rig;
    rig.useSim();
    rig.useMixers({platform::mixer::sim::classicCardTopology()});
    app::window::TForm1& form = rig.createWindow();
    QMenuBar* bar = form.menuBar();
    const QList<QAction*> entries = bar->actions();
    ASSERT_FALSE(entries.isEmpty());
    QAction* lab = entries.last();
    EXPECT_EQ(lab->objectName(), QLatin1String(app::window::kLabMenuEntry));
    EXPECT_EQ(lab->text(), QString::fromUtf8("Měření a grafy (Ctrl+M)"));
    EXPECT_TRUE(lab->isEnabled());
    EXPECT_EQ(lab->menu(), nullptr) << "chosen from the bar itself, not a submenu";

    // The analog source entry writes the long captions into the bar.
    ASSERT_EQ(form.chooseMenuEntry(QStringLiteral("zobrazitvoltmetrstejnosmrnhozdroje3")), QString());
    EXPECT_EQ(form.menuEntry(QStringLiteral("stejnosmrn2"))->text().size(), 24);
    EXPECT_LE(bar->sizeHint().width(), app::window::kClientWidth);
}

}  // namespace
