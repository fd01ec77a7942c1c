#include "core/ServiceHosts.h"

#include <QUrl>

namespace {
QString configuredHost(const char *variable, const char *fallback)
{
    const QString fromEnvironment = qEnvironmentVariable(variable).trimmed();
    return fromEnvironment.isEmpty() ? QString::fromUtf8(fallback) : fromEnvironment;
}
} // namespace

QString appApiHost()
{
    return configuredHost("ORBELA_APP_API_HOST", ORBELA_DEFAULT_APP_API_HOST);
}

QString appApiPageUrl(const QString &path)
{
    return QStringLiteral("http://") + appApiHost() + path;
}

QString openApiHost()
{
    return configuredHost("ORBELA_OPEN_API_HOST", ORBELA_DEFAULT_OPEN_API_HOST);
}

QString forumHost()
{
    return configuredHost("ORBELA_FORUM_HOST", ORBELA_DEFAULT_FORUM_HOST);
}

QString ipLookupHost()
{
    return configuredHost("ORBELA_IP_LOOKUP_HOST", ORBELA_DEFAULT_IP_LOOKUP_HOST);
}

QString hostNameOnly(const QString &host)
{
    // QUrl understands "name:port" and "[v6]:port" alike; ":port" has an
    // empty host part, which nobody is asked to look up.
    const QUrl url(QStringLiteral("http://") + host);
    return url.isValid() ? url.host() : host;
}
