#include "core/webapi/LoginForm.h"

#include <QUrl>

QByteArray loginFormBody(const QString &account, const QString &password, const QString &timestamp,
                         const QString &sign, const QString &publicIp)
{
    QByteArray body;
    body += "username=" + QUrl::toPercentEncoding(account) + '&';
    // Encoded like the name: a "&" or "=" in it would otherwise cut the body.
    body += "password=" + QUrl::toPercentEncoding(password) + '&';
    body += "timestamp=" + timestamp.toUtf8() + '&';
    body += "sign=" + sign.toUtf8() + '&';
    body += "net_ip=" + QUrl::toPercentEncoding(publicIp);
    return body;
}

QString webLoginAddress(const QString &forumHost, const QByteArray &body)
{
    return QStringLiteral("http://%1/passport.php?action=client&method=ajaxUserLogin&").arg(forumHost)
           + QString::fromLatin1(body);
}

QString webLogoutAddress(const QString &forumHost, const QByteArray &body)
{
    return QStringLiteral("http://%1/passport.php?action=client&method=ajaxUserLogout&").arg(forumHost)
           + QString::fromLatin1(body);
}

QString loginPostAddress(const QString &forumHost)
{
    return QStringLiteral("http://%1/passport.php?action=client&method=ajaxUserLogin").arg(forumHost);
}

QString loginErrorText(int status)
{
    switch (status) {
    case -8: return QStringLiteral("抱歉，服务器繁忙！");
    case -7: return QStringLiteral("登录信息缺失！");
    case -6: return QStringLiteral("出现编码错误！");
    case -2: return QStringLiteral("无效的参数！");
    case 0: return QStringLiteral("用户名密码有误！");
    default: return QString();
    }
}

QString rememberedText(const QString &plain)
{
    return QString::fromLatin1(plain.toUtf8().toBase64());
}

QString fromRememberedText(const QString &stored)
{
    return QString::fromUtf8(QByteArray::fromBase64(stored.toLatin1()));
}
