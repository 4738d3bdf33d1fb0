#pragma once
// ClassPanel: the teacher's side of the class view, "Třída". Off until the
// teacher presses "Spustit": then it listens on the network chosen, shows
// the link and its QR code, how many devices follow, and prints the line
// `class-view http://ADDRESS:PORT/?k=TOKEN` on standard output. "Zastavit"
// closes the port; "Nový odkaz" makes the old links stop working.
// A window of its own, or a panel in another window.
#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;

namespace app::classview {

class ClassServer;

class ClassPanel : public QWidget {
public:
    // `port`: the one tried first; when it is taken, the next few, then any.
    ClassPanel(ClassServer& server, quint16 port, QWidget* parent = nullptr);

private:
    void startServing();
    void fillChoices();
    void refresh();

    ClassServer& server_;
    quint16 port_;
    QComboBox* network_;
    QPushButton* start_;
    QPushButton* stop_;
    QPushButton* newLink_;
    QLabel* code_;
    QLabel* links_;
    QLabel* devices_;
    QLabel* problem_;
};

}  // namespace app::classview
