#pragma once
// The forum's login: the signed form body, the web login and logout addresses
// built from it, the texts of its failure codes and the remembered account.

#include <QByteArray>
#include <QString>

// "username=…&password=…&timestamp=…&sign=…&net_ip=…": both credentials
// percent-encoded byte by byte (the unreserved characters stay as they are).
QByteArray loginFormBody(const QString &account, const QString &password, const QString &timestamp,
                         const QString &sign, const QString &publicIp);
// "http://<forum>/passport.php?action=client&method=ajaxUserLogin&" + body, and the logout likewise.
QString webLoginAddress(const QString &forumHost, const QByteArray &body);
QString webLogoutAddress(const QString &forumHost, const QByteArray &body);
QString loginPostAddress(const QString &forumHost);
// The text for a failed login's status; null for a status without one.
QString loginErrorText(int status);

// The remembered user name and password are stored as Base64 of UTF-8.
QString rememberedText(const QString &plain);
QString fromRememberedText(const QString &stored);
