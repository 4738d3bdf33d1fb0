#pragma once
// The main window's definition as data: every control with its kind, place,
// size, colours, font, caption, initial state; the menu bar with every entry.
// The window is built from these tables; nothing else creates controls.
#include <QColor>
#include <QString>
#include <span>

namespace app::window {

inline constexpr const char* kWindowCaption =
    "UČITELSKÉ PŘÍSTROJE PRO MĚŘICÍ JEDNOTKU KE ZVUKOVÉ KARTĚ  PCI 128  [ varianta ZŠ jen ST ]"
    "           Kerbanit";
inline constexpr int kClientWidth = 806;
inline constexpr int kClientHeight = 585;

enum class ControlKind { Image, Edit, TrackBar, Panel, SpeedButton };
enum class Bevel { None, Lowered, Raised };
enum class CaptionAlign { Center, Left };

struct FontDef {
    const char* family = "MS Sans Serif";
    int heightPx = 11;  // character height in pixels
    bool bold = false;
    QColor color = QColor(0, 0, 0);
};

struct TrackRange {
    int min = 0;
    int max = 10;
    int position = 0;
    int tickEvery = 1;
};

struct ControlDef {
    const char* name;
    ControlKind kind;
    const char* parent;  // "" for the window itself
    int left, top, width, height;
    bool visible = true;
    bool enabled = true;
    QColor color = QColor();  // invalid: the system button-face colour
    FontDef font = {};
    const char* caption = "";  // caption of a panel or button, text of an edit box
    CaptionAlign align = CaptionAlign::Center;
    Bevel bevelInner = Bevel::None;
    Bevel bevelOuter = Bevel::None;
    int bevelWidth = 1;
    bool singleBorder = false;
    bool readOnly = false;
    TrackRange track = {};
    int tabOrder = -1;  // -1: not in the tab order
};

// In stacking order, bottom to top; children follow their parent.
std::span<const ControlDef> controlDefinitions();
const ControlDef* findControlDefinition(const QString& name);

enum class MenuKind { Submenu, Entry };

struct MenuDef {
    const char* name;
    const char* caption;
    int level;  // 0: menu bar, 1: in a submenu, 2: in a submenu of a submenu
    MenuKind kind;
    bool enabled = true;
    bool isDefault = false;
    const char* handler = "";  // name of the click handler, "" for none
};

// In menu order; an entry belongs to the nearest submenu above it with a lower level.
std::span<const MenuDef> menuDefinitions();

// The last entry of the menu bar, "Měření a grafy (Ctrl+M)": it opens the
// lab window, as Ctrl+M does (the window has no handler of its own for it;
// whoever makes the lab connects to the entry's triggered signal).
inline constexpr const char* kLabMenuEntry = "MenagrafyCtrlM1";

}  // namespace app::window
