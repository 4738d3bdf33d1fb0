#pragma once
// A panel: a filled rectangle with optional outer and inner bevels, a single
// border, and a one-line caption (centred, or left-aligned).
#include "app/window/window_definition.h"

#include <QWidget>

namespace app::window::controls {

class PanelControl : public QWidget {
public:
    PanelControl(const ControlDef& def, QWidget* parent);

    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
    QColor color_;
    QColor textColor_;
    CaptionAlign align_;
    Bevel inner_;
    Bevel outer_;
    int bevelWidth_;
    bool singleBorder_;
};

}  // namespace app::window::controls
