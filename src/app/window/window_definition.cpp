#include "app/window/window_definition.h"

#include <string>
#include <vector>

namespace app::window {
namespace {

const QColor kBlack(0, 0, 0);
const QColor kYellow(255, 255, 0);
const QColor kAqua(0, 255, 255);
const QColor kRed(255, 0, 0);
const QColor kLime(0, 255, 0);

const std::string& panel7Caption() {
    static const std::string caption = std::string(130, ' ')
        .append("REGULACE AMPLITUDY     GENERÁTORU   HARMONICKÉHO    NAPĚTÍ")
        .append(4, ' ');
    return caption;
}

// A big digital readout: lowered bevels of width 4, single border, black.
ControlDef readout(const char* name, int left, int top, int width, const char* caption, QColor text,
                   int tabOrder) {
    return ControlDef{.name = name, .kind = ControlKind::Panel, .parent = "", .left = left, .top = top,
                      .width = width, .height = 120, .visible = false, .color = kBlack,
                      .font = {"Arial Black", 87, true, text}, .caption = caption,
                      .bevelInner = Bevel::Lowered, .bevelOuter = Bevel::Lowered, .bevelWidth = 4,
                      .singleBorder = true, .tabOrder = tabOrder};
}

// A unit box: inner and outer bevel lowered, width 3, black.
ControlDef unitBox(const char* name, int left, int top, FontDef font, int tabOrder) {
    return ControlDef{.name = name, .kind = ControlKind::Panel, .parent = "", .left = left, .top = top,
                      .width = 100, .height = 69, .color = kBlack, .font = font,
                      .bevelInner = Bevel::Lowered, .bevelOuter = Bevel::Lowered, .bevelWidth = 3,
                      .tabOrder = tabOrder};
}

ControlDef toggleButton(const char* name, const char* parent, const char* caption) {
    return ControlDef{.name = name, .kind = ControlKind::SpeedButton, .parent = parent, .left = 8, .top = 48,
                      .width = 85, .height = 14, .enabled = false, .font = {"Arial", 11, false, kBlack},
                      .caption = caption};
}

ControlDef unitCaption(const char* name, const char* parent, int height, const char* caption, FontDef font) {
    return ControlDef{.name = name, .kind = ControlKind::Panel, .parent = parent, .left = 7, .top = 5,
                      .width = 86, .height = height, .color = kBlack, .font = font, .caption = caption};
}

ControlDef image(const char* name, int left, int top, int height, bool enabled = true) {
    return ControlDef{.name = name, .kind = ControlKind::Image, .parent = "", .left = left, .top = top,
                      .width = 800, .height = height, .enabled = enabled};
}

std::vector<ControlDef> buildControls() {
    return {
        image("Image1", -4, 0, 165, false),
        image("Image3", -4, 164, 165),
        image("Image2", -4, 328, 169),
        image("Image4", 0, 496, 10),
        image("Image5", 0, 504, 20),
        {.name = "Edit2", .kind = ControlKind::Edit, .parent = "", .left = 0, .top = 502, .width = 149,
         .height = 19, .visible = false, .color = kLime, .font = {"MS Sans Serif", 13, true, kBlack},
         .caption = " nastavení amplitudy", .readOnly = true, .tabOrder = 0},
        {.name = "TrackBar1", .kind = ControlKind::TrackBar, .parent = "", .left = 172, .top = 502,
         .width = 629, .height = 21, .track = {0, 32000, 0, 500}, .tabOrder = 8},
        {.name = "Panel7", .kind = ControlKind::Panel, .parent = "", .left = -12, .top = 556, .width = 801,
         .height = 13, .font = {"Small Fonts", 8, false, kBlack}, .caption = panel7Caption().c_str(),
         .align = CaptionAlign::Left, .tabOrder = 1},
        unitBox("Panel8", 342, 10, {"Arial Narrow", 64, true, kYellow}, 2),
        toggleButton("SpeedButton1", "Panel8", "st ampérmetr"),
        unitCaption("Panel11", "Panel8", 40, "mA", {"Arial Black", 47, true, kYellow}),
        unitBox("Panel9", 342, 174, {"Arial Black", 61, true, kAqua}, 3),
        toggleButton("SpeedButton2", "Panel9", "st.  voltmetr"),
        unitCaption("Panel12", "Panel9", 43, "V", {"Arial Black", 48, true, kAqua}),
        unitBox("Panel1", 348, 338, {"Arial Black", 48, true, kRed}, 4),
        toggleButton("SpeedButton3", "Panel1", "st. zdroj "),
        unitCaption("Panel13", "Panel1", 43, "V", {"Arial Black", 47, true, kRed}),
        readout("Panel2", 200, 173, 400, "3.28 V", kAqua, 5),
        readout("Panel3", 200, 9, 400, "123 mA", kYellow, 6),
        readout("Panel4", 200, 337, 400, "275 mV", kRed, 7),
        readout("Panel6", 0, 337, 398, " 0.00 V", kLime, 10),
        readout("Panel5", 398, 337, 398, " 50 Hz", kLime, 9),
        readout("Panel10", 200, 337, 398, " 0.00 V", kLime, 11),
        {.name = "Edit3", .kind = ControlKind::Edit, .parent = "", .left = 728, .top = 534, .width = 69,
         .height = 19, .visible = false, .color = kLime, .font = {"MS Sans Serif", 13, true, kBlack},
         .caption = "50 Hz", .tabOrder = 12},
        {.name = "TrackBar2", .kind = ControlKind::TrackBar, .parent = "", .left = 400, .top = 538,
         .width = 330, .height = 21, .visible = false, .track = {20, 1000, 50, 20}, .tabOrder = 13},
        {.name = "Panel14", .kind = ControlKind::Panel, .parent = "", .left = 0, .top = 502, .width = 169,
         .height = 22, .font = {"MS Sans Serif", 11, true, kBlack}, .caption = "nastavení amplitudy",
         .bevelInner = Bevel::Raised, .bevelOuter = Bevel::Lowered, .tabOrder = 14},
    };
}

const char* const kInstruction1 =
    "na zvukové kartě nastavte propojky na spk, na mixážním pultu nastavte WAVE a  VOLUME na maximum, "
    "zvolte vstup RECORD LINE IN a nastavte posuvným ovládačem maximum. ";
const char* const kInstruction2 =
    "Do pravého kanálu zařaďte napěťový dělič M1 : 1 k, do levého kanálu umístěte bočník 1R. a spusťte "
    "program.  ";
const char* const kInstruction3 =
    " Právě jste získali střídavý analogový i digitální voltmetr do cca 15 V, miliampérmetr do 500 mA a "
    "generátor 50 Hz do cca 3 V";
const char* const kInstruction4 =
    "POZOR ! Uvedené hodnoty platí jen pro zvukovou kartu PCI 128, s jinými zvukovými kartami nebude "
    "souhlasit generované ani měřené napětí a proud se skutečností. Jde o DEMOVERZI !";

constexpr MenuKind kSub = MenuKind::Submenu;
constexpr MenuKind kEntry = MenuKind::Entry;

const MenuDef kMenu[] = {
    {"volba", "volba   &VOLTMETRU", 0, kSub},
    {"dvarukovadvadigitlnmicpstroje1", "ručkový stejnosměrný voltmetr", 1, kEntry, false, true},
    {"rukovstejnosmrnvoltmetr1", "ručkový střídavý voltmetr 50 Hz", 1, kEntry, true, false,
     "rukovstejnosmrnvoltmetr1Click"},
    {"rukovstejnosmrnvoltmetr2", "digitální stejnosměrný voltmetr", 1, kEntry, false},
    {"rukovstdavvoltmetr1", "digitální střídavý voltmetr 50 Hz", 1, kEntry, true, false,
     "rukovstdavvoltmetr1Click"},
    {"NEZOBRAZITVOLTMETR1", "NEZOBRAZIT VOLTMETR", 1, kEntry, true, false, "NEZOBRAZITVOLTMETR1Click"},
    {"automatickvolbastupnic1", "automatická volba stupnic  ", 1, kEntry},
    {"runvolbastupnic1", "ruční volba stupnic", 1, kSub, false},
    {"do03V1", "do 0.3 V", 2, kEntry},
    {"do1V1", "do 1 V", 2, kEntry},
    {"do3V1", "do 3 V", 2, kEntry},
    {"do10V1", "do 10 V", 2, kEntry},
    {"do30V1", "do 30 V", 2, kEntry},
    {"stejnosmrn1", "střídavý           ", 0, kEntry},
    {"Volbamicchpstrojamprmetr1", "volba   &AMPÉRMETRU", 0, kSub},
    {"rukovidigitlnvoltmetr1", "ručkový stejnosměrný ampérmetr", 1, kEntry, false, true},
    {"rukovstejnosmrnamprmetr1", "ručkový střídavý ampérmetr 50 Hz", 1, kEntry, true, false,
     "rukovstejnosmrnamprmetr1Click"},
    {"digitlnstejnosmrnamprmetr1", "digitální stejnosměrný ampérmetr", 1, kEntry, false},
    {"digitlnstdavamprmetr50Hz1", "digitální střídavý ampérmetr 50 Hz", 1, kEntry, true, false,
     "digitlnstdavamprmetr50Hz1Click"},
    {"NEZOBRAZITAMPRMETR1", "NEZOBRAZIT AMPÉRMETR", 1, kEntry, true, false, "NEZOBRAZITAMPRMETR1Click"},
    {"stejnosmrn2", "-střídavý           ", 0, kEntry},
    {"mixnpult1", "volba   VOLTMETRU   &ZDROJE", 0, kSub},
    {"zobrazitvoltmetrstejnosmrnhozdroje1", "ručkový voltmetr stejnosměrného zdroje", 1, kEntry, false, true},
    {"zobrazitvoltmetrstejnosmrnhozdroje3", "ručkový voltmetr střídavého zdroje ", 1, kEntry, true, false,
     "zobrazitvoltmetrstejnosmrnhozdroje3Click"},
    {"digitlnvoltmetrstejnosmrnhozdroje1", "digitální voltmetr stejnosměrného zdroje", 1, kEntry, false},
    {"digitlnvoltmetrstejnosmrnhozdroje2", "digitální voltmetr střídavého zdroje ", 1, kEntry, true, false,
     "digitlnvoltmetrstejnosmrnhozdroje2Click"},
    {"digitlnvoltmetrstdavhozdroje50Hz1",
     "digitální voltmetr střídavého zdroje  a digitální měřič frekvence ", 1, kEntry, true, false,
     "digitlnvoltmetrstdavhozdroje50Hz1Click"},
    {"zobrazitvoltmetrstejnosmrnhozdroje4", "NEZOBRAZIT VOLTMETR ZDROJE", 1, kEntry, true, false,
     "zobrazitvoltmetrstejnosmrnhozdroje4Click"},
    {"stejnosmrn3", "střídavý", 0, kEntry},
    {"nvod1", "         návod", 0, kSub},
    {"propojtevstupLINEINaLINEOUTnamixnmpultunastavteWAVEMASTERLINEINnamaximum1", kInstruction1, 1, kEntry},
    {"propojtevstupLINEINaLINEOUTnamixnmpultunastavteWAVEMASTERLINEINnamaximumposuvnmovldaemdolezkustenastavovatrznpolohy1",
     kInstruction2, 1, kEntry},
    {"Prvjstezskalistdavanalogovidigitlnvoltmetrdocca15Vmiliamprmetrdo150mAagenertor50Hzdocca3V1",
     kInstruction3, 1, kEntry},
    {"POZORUvedenhodnotyplatjenprozvukovoukartuPCI1", kInstruction4, 1, kEntry},
    // The program's own: the lab, for a teacher who started the program from
    // its icon and has not read that Ctrl+M opens it (main.cpp opens it).
    {kLabMenuEntry, "Měření a grafy (Ctrl+M)", 0, kEntry},
};

}  // namespace

std::span<const ControlDef> controlDefinitions() {
    static const std::vector<ControlDef> controls = buildControls();
    return controls;
}

const ControlDef* findControlDefinition(const QString& name) {
    for (const auto& c : controlDefinitions())
        if (name == QLatin1String(c.name)) return &c;
    return nullptr;
}

std::span<const MenuDef> menuDefinitions() { return kMenu; }

}  // namespace app::window
