#pragma once
// What the client says about the machine it runs on: the public IP address of
// its network and the hardware address of a network interface.

#include <QList>
#include <QString>

// Body of the public-IP lookup page; empty when it cannot be had within 5 s.
QString fetchIpLookupPage();
// The address from the lookup page (empty when the page has another shape).
QString getPublicIp();
QString publicIpFromLookupPage(const QString &page);

struct NetworkInterfaceFacts
{
    bool up = false;
    bool loopback = false;
    QString humanReadableName;
    QString hardwareAddress;
};
// "00:1A:2B:3C:4D:5E" of the last qualifying interface, or all zeros.
QString getLocalMacAddress();
QString macAddressFrom(const QList<NetworkInterfaceFacts> &interfaces);
