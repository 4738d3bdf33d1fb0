#include "app/window/form.h"

#include "app/window/client_area.h"
#include "app/window/controls/control_font.h"
#include "app/window/menu_bar_style.h"
#include "app/window/menu_bindings.h"
#include "app/window/window_definition.h"

#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QToolButton>
#include <algorithm>

namespace app::window {

TForm1::TForm1(session::Session& session, platform::Idle& idle, QWidget* parent)
    : QMainWindow(parent),
      state(session.state),
      GeneratorFrequency(session.GeneratorFrequency),
      readingHistory(session.readingHistory),
      lineInputMeter(session.lineInputMeter),
      generatorChangeArrives(session.generatorChangeArrives),
      AudioIn1(session.AudioIn1),
      AudioOut1(session.AudioOut1),
      AudioMixer1(session.AudioMixer1),
      session_(session),
      idle_(idle) {
    setWindowTitle(QString::fromUtf8(kWindowCaption));
    QFont formFont = controls::controlFont(FontDef{});
    setFont(formFont);
    client_ = new ClientArea([this](const QString& name) { return control(name); }, this);
    setCentralWidget(client_);
    buildControls();
    buildMenu();
    setUpWindowing();
    connect(&session_, &session::Session::errorRaised, this, &TForm1::showErrorBox);
    connect(&session_, &session::Session::generatorChanged, this, &TForm1::showGenerator);
}

TForm1::~TForm1() = default;

void TForm1::buildControls() {
    for (const ControlDef& def : controlDefinitions()) {
        QWidget* parent = def.parent[0] == '\0' ? client_->stage() : controls_.at(QString::fromUtf8(def.parent));
        QWidget* w = nullptr;
        switch (def.kind) {
            case ControlKind::Image:
                w = new controls::ImageControl(def.width, def.height, parent);
                break;
            case ControlKind::Panel:
                w = new controls::PanelControl(def, parent);
                break;
            case ControlKind::TrackBar:
                w = new controls::TrackBar(def, parent);
                break;
            case ControlKind::Edit: {
                auto* edit = new QLineEdit(QString::fromUtf8(def.caption), parent);
                edit->setReadOnly(def.readOnly);
                edit->setFont(controls::controlFont(def.font));
                QPalette pal = edit->palette();
                pal.setColor(QPalette::Base, def.color);
                pal.setColor(QPalette::Text, def.font.color);
                edit->setPalette(pal);
                w = edit;
                break;
            }
            case ControlKind::SpeedButton: {
                auto* button = new QToolButton(parent);
                button->setText(QString::fromUtf8(def.caption));
                button->setAutoRaise(true);
                button->setFont(controls::controlFont(def.font));
                w = button;
                break;
            }
        }
        w->setObjectName(QString::fromUtf8(def.name));
        w->setGeometry(def.left, def.top, def.width, def.height);
        w->setEnabled(def.enabled);
        w->setVisible(def.visible);
        w->raise();  // stacking order: later controls lie above earlier ones
        w->setFocusPolicy(def.tabOrder >= 0 ? Qt::StrongFocus : Qt::NoFocus);
        controls_.emplace(QString::fromUtf8(def.name), w);
    }
    // Tab order, by the definition's numbers.
    std::vector<const ControlDef*> order;
    for (const ControlDef& def : controlDefinitions())
        if (def.tabOrder >= 0) order.push_back(&def);
    std::sort(order.begin(), order.end(), [](auto* a, auto* b) { return a->tabOrder < b->tabOrder; });
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(control(order[i - 1]->name), control(order[i]->name));

    Image1 = static_cast<controls::ImageControl*>(control("Image1"));
    Image2 = static_cast<controls::ImageControl*>(control("Image2"));
    Image3 = static_cast<controls::ImageControl*>(control("Image3"));
    Image4 = static_cast<controls::ImageControl*>(control("Image4"));
    Image5 = static_cast<controls::ImageControl*>(control("Image5"));
    Edit2 = static_cast<QLineEdit*>(control("Edit2"));
    Edit3 = static_cast<QLineEdit*>(control("Edit3"));
    TrackBar1 = static_cast<controls::TrackBar*>(control("TrackBar1"));
    TrackBar2 = static_cast<controls::TrackBar*>(control("TrackBar2"));
    Panel2 = static_cast<controls::PanelControl*>(control("Panel2"));
    Panel3 = static_cast<controls::PanelControl*>(control("Panel3"));
    Panel4 = static_cast<controls::PanelControl*>(control("Panel4"));
    Panel5 = static_cast<controls::PanelControl*>(control("Panel5"));
    Panel6 = static_cast<controls::PanelControl*>(control("Panel6"));
    Panel10 = static_cast<controls::PanelControl*>(control("Panel10"));
    Panel11 = static_cast<controls::PanelControl*>(control("Panel11"));
    setKeyboardSteps();
    connect(TrackBar1, &controls::TrackBar::userChanged, this, [this] { TrackBar1Change(TrackBar1); });
    connect(TrackBar2, &controls::TrackBar::userChanged, this, [this] { TrackBar2Change(TrackBar2); });
    // The bars show the session's generator: their ranges and positions are its.
    const std::pair<controls::TrackBar*, session::Bar> bars[] = {{TrackBar1, session::Bar::Amplitude},
                                                                 {TrackBar2, session::Bar::Frequency}};
    for (const auto& [bar, which] : bars) {
        session_.setBarRange(which, bar->minimum(), bar->maximum());
        session_.noteBarPosition(which, bar->position());
        connect(bar, &QSlider::valueChanged, this, [this, which](int position) { session_.noteBarPosition(which, position); });
    }
}

void TForm1::buildMenu() {
    QMenuBar* bar = menuBar();
    // Tight enough that every entry shows across the design's width.
    auto* style = new MenuBarStyle;
    style->setParent(this);
    bar->setStyle(style);
    std::vector<QMenu*> openMenus;  // the submenu at each level
    std::vector<QString> openNames;
    for (const MenuDef& def : menuDefinitions()) {
        const QString name = QString::fromUtf8(def.name);
        const QString caption = QString::fromUtf8(def.caption);
        openMenus.resize(def.level);
        openNames.resize(def.level);
        QAction* action = nullptr;
        if (def.kind == MenuKind::Submenu) {
            QMenu* menu = def.level == 0 ? bar->addMenu(caption) : openMenus.back()->addMenu(caption);
            action = menu->menuAction();
            openMenus.push_back(menu);
            openNames.push_back(name);
        } else {
            action = def.level == 0 ? bar->addAction(caption) : openMenus.back()->addAction(caption);
        }
        action->setObjectName(name);
        action->setEnabled(def.enabled);
        QFont f = action->font();
        f.setBold(def.isDefault);
        action->setFont(f);
        menu_.emplace(name, action);
        if (def.level > 0) parentOf_.emplace(name, openNames[def.level - 1]);
        if (auto handler = menuHandler(def.handler)) {
            connect(action, &QAction::triggered, this, [this, handler, action] { (this->*handler)(action); });
        }
    }
}

QWidget* TForm1::control(const QString& name) const {
    const auto it = controls_.find(name);
    return it == controls_.end() ? nullptr : it->second;
}

QAction* TForm1::menuEntry(const QString& name) const {
    const auto it = menu_.find(name);
    return it == menu_.end() ? nullptr : it->second;
}

QAction* TForm1::parentMenuOf(const QString& name) const {
    const auto it = parentOf_.find(name);
    return it == parentOf_.end() ? nullptr : menuEntry(it->second);
}

bool TForm1::isDefaultEntry(const QString& name) const {
    const QAction* a = menuEntry(name);
    return a != nullptr && a->font().bold();
}

void TForm1::markDefault(const QString& entryName) {
    const auto parent = parentOf_.find(entryName);
    for (auto& [name, action] : menu_) {
        const auto p = parentOf_.find(name);
        const bool sibling = parent != parentOf_.end() && p != parentOf_.end() && p->second == parent->second;
        if (!sibling && name != entryName) continue;
        QFont f = action->font();
        f.setBold(name == entryName);
        action->setFont(f);
    }
}

void TForm1::setMenuCaption(const QString& entryName, const QString& caption) {
    if (QAction* a = menuEntry(entryName)) a->setText(caption);
}

QString TForm1::chooseMenuEntry(const QString& name) {
    QAction* action = menuEntry(name);
    if (action == nullptr) return QStringLiteral("there is no menu entry named \"%1\"").arg(name);
    if (!action->isEnabled())
        return QStringLiteral("the menu entry \"%1\" (\"%2\") is disabled").arg(name, action->text());
    for (QAction* p = parentMenuOf(name); p != nullptr; p = parentMenuOf(p->objectName())) {
        if (!p->isEnabled())
            return QStringLiteral("the menu entry \"%1\" lies in the disabled submenu \"%2\"")
                .arg(name, p->text());
    }
    action->trigger();
    return {};
}

}  // namespace app::window
