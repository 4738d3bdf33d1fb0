#pragma once
// Where the class view listens: on every network interface, on one of them
// (the teacher picks the classroom's network), or on this computer alone;
// and the addresses the students' devices reach it at. IPv4 only: that is
// what a classroom's network and a QR code scanned from a wall give.
#include <QHostAddress>
#include <QList>
#include <QString>

namespace app::classview {

struct ListenChoice {
    QString label;         // "Všechna síťová rozhraní", "wlp2s0 (192.168.1.20)", ...
    QHostAddress address;  // AnyIPv4, one interface's address, or 127.0.0.1
};

// Every interface first, then each running interface with an IPv4 address,
// then this computer alone.
QList<ListenChoice> listenChoices();

// The addresses a server that listens on `address` is reached at: for
// AnyIPv4 those of the running interfaces but the loopback (127.0.0.1 when
// there is none), else `address` itself.
QList<QHostAddress> reachableAt(const QHostAddress& address);

}  // namespace app::classview
