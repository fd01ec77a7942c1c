#include "core/jobs/MyThread.h"

#include "core/game/VRAppInfo.h"
#include "platform/PlatformServices.h"

#include <QElapsedTimer>
#include <QMutexLocker>
#include <QTextCodec>

namespace {
const int kStartWaitMs = 30000;
const int kKillWaitMs = 5000;
// How often the wait for the child looks whether it is to be stopped.
const int kStopCheckMs = 100;
}

MyThread::MyThread(QObject *parent, VRAppInfo *info, const QString &program, QStringList arguments,
                   Purpose purpose)
    : QThread(parent)
    , info(info)
    , program(program)
    , arguments(std::move(arguments))
    , purpose(purpose)
{
    // Queued behind the reports the thread posted before it ended.
    connect(this, &QThread::finished, this, &QObject::deleteLater);
}

void MyThread::setUnpackTimeLimit(int msecs)
{
    unpackTimeLimit = msecs;
}

void MyThread::stopChild()
{
    stopRequested = true;
    if (isRunning())
        wait(kStartWaitMs + kKillWaitMs + kStopCheckMs);
}

void MyThread::run()
{
    runProcess(program, arguments);
}

void MyThread::runProcess(const QString &program, QStringList arguments)
{
    process = new QProcess;
    // Started needs nothing of the process: it may reach the owner's thread as it is.
    connect(process, &QProcess::started, this, &MyThread::start_process);
    // Output is read here, on the process's own thread, and only the fact (or
    // the bytes) is passed on to the owner's thread.
    connect(process, &QProcess::readyReadStandardOutput, process, [this]() {
        process->readAllStandardOutput();
        QMetaObject::invokeMethod(this, [this]() { start_read_output(); }, Qt::QueuedConnection);
    });
    connect(process, &QProcess::readyReadStandardError, process, [this]() {
        const QByteArray bytes = process->readAllStandardError();
        {
            QMutexLocker locker(&errorLock);
            pendingError += bytes;
        }
        QMetaObject::invokeMethod(this, [this]() { start_read_err_output(); }, Qt::QueuedConnection);
    });
    connect(process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), process,
            [this](int exitCode, QProcess::ExitStatus exitStatus) {
                QMetaObject::invokeMethod(
                    this, [this, exitCode, exitStatus]() { finish_process(exitCode, exitStatus); },
                    Qt::QueuedConnection);
            });

    // Nothing is ever typed in: a child that asks (an archive's password)
    // reads the end of its input and fails at once instead of waiting.
    process->setStandardInputFile(QProcess::nullDevice());
    if (stopRequested) {
        delete process;
        process = nullptr;
        return;
    }
    process->start(program, arguments, QIODevice::ReadOnly);
    if (!process->waitForStarted(kStartWaitMs)) {
        qWarning("this process can not be called!");
        process->disconnect();
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(kKillWaitMs);
        }
        // The wait for the end fails at once for a child that never started.
        qWarning("time out (default 1h).");
        QMetaObject::invokeMethod(this, [this]() { reportStartFailure(); }, Qt::QueuedConnection);
    } else {
        waitForChild();
    }
    delete process;
    process = nullptr;
}

void MyThread::waitForChild()
{
    QElapsedTimer clock;
    clock.start();
    while (!process->waitForFinished(kStopCheckMs)) {
        const bool stop = stopRequested;
        const bool late = purpose == Unpack && clock.elapsed() >= unpackTimeLimit;
        if (!stop && !late && process->state() != QProcess::NotRunning)
            continue;
        // Nothing more is reported for this child; a stuck or unwanted
        // extractor is ended rather than left writing into the game's folder.
        process->disconnect();
        process->kill();
        process->waitForFinished(kKillWaitMs);
        if (!stop) {
            qWarning("time out (default 1h).");
            QMetaObject::invokeMethod(
                this, [this]() {
                    if (!stopRequested)
                        emit sendUnZipResault(false, info);
                },
                Qt::QueuedConnection);
        }
        return;
    }
}

void MyThread::setState(int state)
{
    if (stopRequested)
        return;
    if (info)
        info->downloadStatus = state;
    emit sendLaunchResault(info);
}

void MyThread::reportStartFailure()
{
    if (stopRequested)
        return;
    emit sendUnZipResault(false, info);
    // A game that cannot start is a failed launch.
    if (purpose == Launch)
        setState(VRAppInfo::ChildCrashed);
}

void MyThread::start_process()
{
    qDebug("1.m_pProcess start!");
}

void MyThread::start_read_output()
{
    setState(VRAppInfo::ChildWroteOutput);
}

void MyThread::start_read_err_output()
{
    QByteArray bytes;
    {
        QMutexLocker locker(&errorLock);
        bytes.swap(pendingError);
    }
    if (bytes.isEmpty())
        return;
    qWarning("2.return Error:%s", qUtf8Printable(platform().localCodec()->toUnicode(bytes)));
}

void MyThread::finish_process(int exitCode, QProcess::ExitStatus exitStatus)
{
    if (stopRequested)
        return;
    if (exitStatus == QProcess::NormalExit) {
        // An extractor says by its exit code whether the package was unpacked.
        emit sendUnZipResault(purpose == Launch || exitCode == 0, info);
        setState(VRAppInfo::ChildEnded);
        qDebug("3.m_pProcess exit normal! exitCode:%d", exitCode);
    } else {
        emit sendUnZipResault(false, info);
        setState(VRAppInfo::ChildCrashed);
        qWarning("3.m_pProcess exit crash! exitCode:%d", exitCode);
    }
}
