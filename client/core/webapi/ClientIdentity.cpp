#include "core/webapi/ClientIdentity.h"

#include "core/ServiceHosts.h"
#include "core/webapi/ServiceRequest.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkInterface>
#include <QNetworkReply>
#include <QUrl>

namespace {
const char kNoHardwareAddress[] = "00:00:00:00:00:00";
} // namespace

QString fetchIpLookupPage()
{
    QNetworkAccessManager manager;
    QNetworkReply *reply = ServiceRequest::get(
        manager, QNetworkRequest(QUrl(QStringLiteral("http://%1/").arg(ipLookupHost()), QUrl::TolerantMode)),
        kMaxAnswerBytes, kQuickLookupMs);
    // Other events of this thread go on while we wait; the deadline ends the wait.
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec();
    QString body;
    // An HTTP error page is read like any other.
    if (!ServiceRequest::givenUp(reply))
        body = QString::fromUtf8(reply->readAll());
    delete reply;
    return body;
}

QString publicIpFromLookupPage(const QString &page)
{
    QString stripped = page;
    stripped.remove(QLatin1Char(' ')).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    const QStringList lines = stripped.split(QStringLiteral("<br/>"));
    if (lines.size() < 4)
        return QString();
    const QStringList parts = lines.at(3).split(QLatin1Char('='));
    return parts.size() < 2 ? QString() : parts.at(1);
}

QString getPublicIp()
{
    return publicIpFromLookupPage(fetchIpLookupPage());
}

QString macAddressFrom(const QList<NetworkInterfaceFacts> &interfaces)
{
    QString address = QLatin1String(kNoHardwareAddress);
    for (const NetworkInterfaceFacts &facts : interfaces) {
        if (facts.up && !facts.loopback
            && !facts.humanReadableName.contains(QLatin1String("VMware"), Qt::CaseInsensitive))
            address = facts.hardwareAddress;
    }
    return address;
}

QString getLocalMacAddress()
{
    QList<NetworkInterfaceFacts> facts;
    for (const QNetworkInterface &interface : QNetworkInterface::allInterfaces()) {
        NetworkInterfaceFacts item;
        item.up = interface.flags().testFlag(QNetworkInterface::IsUp);
        item.loopback = interface.flags().testFlag(QNetworkInterface::IsLoopBack);
        item.humanReadableName = interface.humanReadableName();
        item.hardwareAddress = interface.hardwareAddress();
        facts.append(item);
    }
    return macAddressFrom(facts);
}
