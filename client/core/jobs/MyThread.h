#pragma once
// Runs one outside program to its end on a thread of its own: the extractor
// that unpacks a game's package, or a game's start program. What happens to
// the child is reported through signals on the thread that owns the runner,
// where the game record's state is written as well.

#include <QByteArray>
#include <QMutex>
#include <QProcess>
#include <QStringList>
#include <QThread>

#include <atomic>

class VRAppInfo;

class MyThread : public QThread
{
    Q_OBJECT

public:
    enum Purpose { Unpack, Launch };
    static constexpr int kUnpackTimeLimitMs = 3600000; // one hour

    // The runner frees itself once its thread has ended and its last report
    // has been delivered.
    MyThread(QObject *parent, VRAppInfo *info, const QString &program, QStringList arguments,
             Purpose purpose = Unpack);

    // Runs on the runner's thread; the process object never leaves it.
    void runProcess(const QString &program, QStringList arguments);
    // How long an unpacking may take before it counts as failed; a launch
    // waits for its game without limit.
    void setUnpackTimeLimit(int msecs);
    // Ends the child and waits until it is gone; nothing more is reported
    // and the record is not written again. GUI thread.
    void stopChild();

signals:
    void sendUnZipResault(bool suss, VRAppInfo *info);
    // The record's downloadStatus has just been set to 7, 8 or 9.
    void sendLaunchResault(VRAppInfo *info);

protected:
    void run() override;

private slots:
    void start_process();
    void start_read_output();
    void start_read_err_output();
    void finish_process(int exitCode, QProcess::ExitStatus exitStatus);

private:
    void waitForChild();
    void reportStartFailure();
    void setState(int state);

    VRAppInfo *info;
    QString program;
    QStringList arguments;
    QProcess *process = nullptr;
    const Purpose purpose;
    int unpackTimeLimit = kUnpackTimeLimitMs;
    std::atomic<bool> stopRequested{false};

    // Standard error read on the runner's thread, logged on the owner's.
    QMutex errorLock;
    QByteArray pendingError;
};
