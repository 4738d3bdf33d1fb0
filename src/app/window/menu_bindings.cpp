#include "app/window/menu_bindings.h"

#include "app/window/form.h"

#include <cstring>

namespace app::window {
namespace {

struct Binding {
    const char* name;
    MenuHandler handler;
};

const Binding kBindings[] = {
    {"rukovstejnosmrnvoltmetr1Click", &TForm1::rukovstejnosmrnvoltmetr1Click},
    {"rukovstdavvoltmetr1Click", &TForm1::rukovstdavvoltmetr1Click},
    {"NEZOBRAZITVOLTMETR1Click", &TForm1::NEZOBRAZITVOLTMETR1Click},
    {"rukovstejnosmrnamprmetr1Click", &TForm1::rukovstejnosmrnamprmetr1Click},
    {"digitlnstdavamprmetr50Hz1Click", &TForm1::digitlnstdavamprmetr50Hz1Click},
    {"NEZOBRAZITAMPRMETR1Click", &TForm1::NEZOBRAZITAMPRMETR1Click},
    {"zobrazitvoltmetrstejnosmrnhozdroje3Click", &TForm1::zobrazitvoltmetrstejnosmrnhozdroje3Click},
    {"digitlnvoltmetrstejnosmrnhozdroje2Click", &TForm1::digitlnvoltmetrstejnosmrnhozdroje2Click},
    {"digitlnvoltmetrstdavhozdroje50Hz1Click", &TForm1::digitlnvoltmetrstdavhozdroje50Hz1Click},
    {"zobrazitvoltmetrstejnosmrnhozdroje4Click", &TForm1::zobrazitvoltmetrstejnosmrnhozdroje4Click},
};

}  // namespace

MenuHandler menuHandler(const char* name) {
    if (name == nullptr || name[0] == '\0') return nullptr;
    for (const Binding& b : kBindings)
        if (std::strcmp(b.name, name) == 0) return b.handler;
    return nullptr;
}

}  // namespace app::window
