#include "app/classview/listen_choice.h"

#include <QNetworkInterface>

namespace app::classview {
namespace {

struct InterfaceAddress {
    QString name;
    QHostAddress address;
};

QList<InterfaceAddress> lanAddresses() {
    QList<InterfaceAddress> out;
    for (const QNetworkInterface& i : QNetworkInterface::allInterfaces()) {
        const auto flags = i.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::IsRunning) ||
            flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& e : i.addressEntries())
            if (e.ip().protocol() == QAbstractSocket::IPv4Protocol) out.append({i.humanReadableName(), e.ip()});
    }
    return out;
}

}  // namespace

QList<ListenChoice> listenChoices() {
    QList<ListenChoice> out{{QStringLiteral("Všechna síťová rozhraní"), QHostAddress(QHostAddress::AnyIPv4)}};
    for (const InterfaceAddress& a : lanAddresses())
        out.append({QStringLiteral("%1 (%2)").arg(a.name, a.address.toString()), a.address});
    out.append({QStringLiteral("Jen tento počítač (127.0.0.1)"), QHostAddress(QHostAddress::LocalHost)});
    return out;
}

QList<QHostAddress> reachableAt(const QHostAddress& address) {
    if (address != QHostAddress(QHostAddress::AnyIPv4) && address != QHostAddress(QHostAddress::Any)) return {address};
    QList<QHostAddress> out;
    for (const InterfaceAddress& a : lanAddresses()) out.append(a.address);
    if (out.isEmpty()) out.append(QHostAddress(QHostAddress::LocalHost));
    return out;
}

}  // namespace app::classview
