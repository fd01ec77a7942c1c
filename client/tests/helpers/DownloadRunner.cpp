// download-runner: one download through the client's download manager in a
// process of its own, for tests that kill it and for the benchmark.
//
//   download-runner [--engine | --engine-direct] URL NAME DIR
//
// Prints one line per event on standard output: "task ID", "progress ID
// RECEIVED TOTAL" (at most every 50 ms), "error ID CODE MESSAGE",
// "finished ID" and, on success, "elapsed_ms N" (from the start of the
// download to its end). Exit code 0 finished, 1 failed, 2 bad command line.
// --engine-direct drives the engine through the binding without the manager,
// polling every 10 ms, so that the benchmark measures the engine itself.

#include "core/download/DownloadManager.h"
#include "core/download/EngineTaskParams.h"
#include "core/download/NetWorkDelegate.h"
#include "core/download/XLDL.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QThread>
#include <QUrl>

#include <cstdio>
#include <cstring>

namespace {

void say(const QString &line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

class ConsoleDelegate : public NetWorkDelegate
{
public:
    QElapsedTimer clock;
    qint64 lastProgressMs = -1000;
    int exitCode = -1;

    void OnTaskProgress(int taskId, qint64 received, qint64 total) override
    {
        const qint64 now = clock.elapsed();
        if (now - lastProgressMs < 50)
            return;
        lastProgressMs = now;
        say(QStringLiteral("progress %1 %2 %3").arg(taskId).arg(received).arg(total));
    }
    bool OnTaskError(int taskId, const QString &message, int code) override
    {
        say(QStringLiteral("error %1 %2 %3").arg(taskId).arg(code).arg(message));
        exitCode = 1;
        QCoreApplication::exit(1);
        return false;
    }
    void OnTaskEvent(int) override {}
    void OnTaskFinished(int taskId) override
    {
        say(QStringLiteral("finished %1").arg(taskId));
        say(QStringLiteral("elapsed_ms %1").arg(clock.elapsed()));
        exitCode = 0;
        QCoreApplication::exit(0);
    }
};

int runEngineDirect(const QString &url, const QString &name, const QString &dir)
{
    XLDL *engine = XLDL::instance();
    if (!engine->Init()) {
        say(QStringLiteral("error 0 0 engine not loaded"));
        return 1;
    }
    QElapsedTimer clock;
    clock.start();
    const auto params = engineStartParams(url, name, dir);
    XlTaskHandle task = params ? engine->CreateTask(params.get()) : nullptr;
    if (!task || !engine->StartTask(task)) {
        say(QStringLiteral("error 0 0 engine refused the task"));
        return 1;
    }
    for (;;) {
        XlTaskInfo info;
        std::memset(&info, 0, sizeof info);
        engine->QueryTaskInfoEx(task, &info);
        if (info.state == XL_STATE_COMPLETE) {
            say(QStringLiteral("finished 0"));
            say(QStringLiteral("elapsed_ms %1").arg(clock.elapsed()));
            break;
        }
        if (info.state == XL_STATE_ERROR) {
            say(QStringLiteral("error 0 %1").arg(info.failCode + DownloadManager::kEngineCodeBase));
            return 1;
        }
        QThread::msleep(10);
    }
    engine->DeleteTask(task);
    engine->UnInit();
    delete engine;
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    bool useEngine = false;
    bool engineDirect = false;
    if (!args.isEmpty() && args.first() == QLatin1String("--engine")) {
        useEngine = true;
        args.removeFirst();
    } else if (!args.isEmpty() && args.first() == QLatin1String("--engine-direct")) {
        engineDirect = true;
        args.removeFirst();
    }
    if (args.size() != 3) {
        std::fputs("usage: download-runner [--engine | --engine-direct] URL NAME DIR\n", stderr);
        return 2;
    }
    const QUrl url(args.at(0));
    if (engineDirect)
        return runEngineDirect(url.toString(QUrl::FullyEncoded), args.at(1), args.at(2));

    ConsoleDelegate delegate;
    auto *manager = new DownloadManager(&delegate);
    delegate.clock.start();
    const int id = manager->AddTask(url, args.at(1), args.at(2), useEngine);
    say(QStringLiteral("task %1").arg(id));
    const int code = id == 0 ? 1 : app.exec();
    manager->Shutdown();
    delete manager;
    return code;
}
