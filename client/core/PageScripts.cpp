#include "core/PageScripts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>

namespace {
// Qt parses only objects and arrays at the top level, so a lone value is
// checked as the only element of an array.
bool isSingleJsonValue(const QString &text)
{
    QJsonParseError error;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray("[") + text.toUtf8() + QByteArray("]"), &error);
    return error.error == QJsonParseError::NoError && document.array().size() == 1;
}
} // namespace

QString scriptArgument(const QString &argument)
{
    if (argument.isEmpty() || isSingleJsonValue(argument))
        return argument;
    const QByteArray quoted = QJsonDocument(QJsonArray{argument}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(quoted.mid(1, quoted.size() - 2));
}

QString pageFunctionCall(const QString &function, const QString &argument)
{
    // One arg() call fills both, so a "%1" inside the argument stays.
    return QStringLiteral("if (typeof %1 === 'function') %1(%2);").arg(function, scriptArgument(argument));
}
