#pragma once
// A NetWorkDelegate that records every report, for tests of the download manager.

#include "core/download/NetWorkDelegate.h"

#include <QList>
#include <QString>

#include <functional>

class RecordingDelegate : public NetWorkDelegate
{
public:
    struct Progress {
        int id;
        qint64 received;
        qint64 total;
    };
    struct Error {
        int id;
        QString message;
        int code;
    };

    QList<Progress> progress;
    QList<Error> errors;
    QList<int> finished;
    // The answer given to error reports.
    bool dropOnError = false;
    // Called after an event is recorded (e.g. to look at the task list then).
    std::function<void(int id)> onFinished;
    std::function<void(int id, int code)> onError;

    void OnTaskProgress(int taskId, qint64 received, qint64 total) override
    {
        progress.append({taskId, received, total});
    }
    bool OnTaskError(int taskId, const QString &message, int code) override
    {
        errors.append({taskId, message, code});
        if (onError)
            onError(taskId, code);
        return dropOnError;
    }
    void OnTaskEvent(int) override {}
    void OnTaskFinished(int taskId) override
    {
        finished.append(taskId);
        if (onFinished)
            onFinished(taskId);
    }

    qint64 lastReceived(int id) const
    {
        for (int i = progress.size() - 1; i >= 0; --i) {
            if (progress.at(i).id == id)
                return progress.at(i).received;
        }
        return -1;
    }
    int errorsOf(int id) const
    {
        int count = 0;
        for (const Error &error : errors)
            count += error.id == id ? 1 : 0;
        return count;
    }
};
