#pragma once

#include <QString>
#include <QtGlobal>

// How the download manager reports its tasks to the main window.
class NetWorkDelegate
{
public:
    virtual ~NetWorkDelegate() = default;
    virtual void OnTaskProgress(int taskId, qint64 received, qint64 total) = 0;
    // True asks the manager to drop the task.
    virtual bool OnTaskError(int taskId, const QString &message, int code) = 0;
    virtual void OnTaskEvent(int event) = 0; // never called by the manager
    virtual void OnTaskFinished(int taskId) = 0;
};
