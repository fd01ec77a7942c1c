#pragma once
// What the download tests share: a manager with a recording delegate, and
// checks of files (VarifyMD5::digestOfFile), the task list and the ranges the server received.

#include "core/download/DownloadManager.h"
#include "tests/RecordingDelegate.h"
#include "core/jobs/VarifyMD5.h"

#include <QDomDocument>
#include <QFile>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <memory>

// A download manager with its delegate, shut down at the end as the title bar does.
struct RecordedManager {
    RecordingDelegate delegate;
    std::unique_ptr<DownloadManager> manager{new DownloadManager(&delegate)};
    ~RecordedManager() { manager->Shutdown(); }
    DownloadManager *operator->() { return manager.get(); }
};

// The Range header of each logged request ("" where none was sent).
inline QStringList rangesOf(const QList<QJsonObject> &requests)
{
    QStringList ranges;
    for (const QJsonObject &request : requests)
        ranges.append(request.value(QStringLiteral("range")).toString());
    return ranges;
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
