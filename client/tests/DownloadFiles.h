#pragma once
// File checks shared by the download tests.

#include <QCryptographicHash>
#include <QDomDocument>
#include <QFile>
#include <QMap>
#include <QString>

inline QString md5OfFile(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Md5);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return QString();
    return QString::fromLatin1(hash.result().toHex());
}

// The tasks a "temp.xml" lists: file name -> task element (its attributes).
inline QMap<QString, QDomElement> listedTasks(const QString &taskListPath)
{
    QMap<QString, QDomElement> tasks;
    QFile file(taskListPath);
    QDomDocument document;
    if (!file.open(QIODevice::ReadOnly) || !document.setContent(&file))
        return tasks;
    const QDomElement items = document.documentElement().firstChildElement(QStringLiteral("items"));
    for (QDomElement item = items.firstChildElement(); !item.isNull(); item = item.nextSiblingElement()) {
        const QString name = item.hasAttribute(QStringLiteral("name")) ? item.attribute(QStringLiteral("name"))
                                                                       : item.tagName();
        tasks.insert(name, item);
    }
    return tasks;
}
