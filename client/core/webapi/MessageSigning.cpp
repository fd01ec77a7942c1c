#include "core/webapi/MessageSigning.h"

#include "core/AppFolders.h"
#include "platform/PlatformServices.h"

#include <QCryptographicHash>
#include <QTextCodec>
#include <QUrl>

const char kClientVersion[] = "1.1.1.81";
const char kSigningSalt[] = "kwintep!~#@%$&^)(*";

QString signWithSalt(const QString &text)
{
    const QByteArray bytes = platform().localCodec()->fromUnicode(text + QLatin1String(kSigningSalt));
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

QString timestampText()
{
    return QString::number(currentTimestamp());
}

QByteArray encodeValue(const QString &value)
{
    // Besides the unreserved characters these keep their meaning inside a
    // value, so they stay as they are (a MAC address, a path, a "|" list).
    static const QByteArray kept = QByteArrayLiteral(":/,|@!$'()*;");
    return QUrl::toPercentEncoding(value, kept);
}
