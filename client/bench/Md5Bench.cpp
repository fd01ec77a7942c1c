// Hashes one 1 GiB file, warm in the page cache, with the client's MD5 job and
// with md5sum, best of three each, and compares their throughput. The file is
// written beside the program (inside the build tree) and removed at the end.
// The last line is "ratio=<job/md5sum>".

#include "core/jobs/VarifyMD5.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QThreadPool>

#include <cstdio>
#include <memory>

namespace {

const qint64 kFileBytes = qint64(1) << 30;
const int kRounds = 3;

bool writeTestFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const qint64 chunk = 4 << 20;
    std::unique_ptr<quint64[]> buffer(new quint64[chunk / 8]);
    quint64 x = 0x9E3779B97F4A7C15ull;
    for (qint64 written = 0; written < kFileBytes; written += chunk) {
        for (qint64 i = 0; i < chunk / 8; ++i) {
            x ^= x << 13;
            x ^= x >> 7;
            x ^= x << 17;
            buffer[i] = x;
        }
        if (file.write(reinterpret_cast<const char *>(buffer.get()), chunk) != chunk)
            return false;
    }
    return file.flush();
}

// VmRSS or VmHWM of this process in KiB.
long statusKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// Makes VmHWM start again from the current resident size.
bool resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

// One run of the job through the global pool, as the client starts it.
double timeJob(const QString &path, QString *digest)
{
    QEventLoop loop;
    auto *job = new VarifyMD5(path, nullptr);
    QObject::connect(job, &VarifyMD5::VarifyResult, &loop, [&](QString md5, void *) {
        *digest = md5;
        loop.quit();
    });
    QElapsedTimer timer;
    timer.start();
    QThreadPool::globalInstance()->start(job, 0);
    loop.exec();
    return timer.nsecsElapsed() / 1e9;
}

double timeMd5sum(const QString &path, QString *digest)
{
    QProcess md5sum;
    QElapsedTimer timer;
    timer.start();
    md5sum.start(QStringLiteral("md5sum"), {path});
    if (!md5sum.waitForFinished(-1) || md5sum.exitCode() != 0)
        return -1;
    const double seconds = timer.nsecsElapsed() / 1e9;
    *digest = QString::fromLatin1(md5sum.readAllStandardOutput().left(32));
    return seconds;
}

double mibPerSecond(double seconds)
{
    return kFileBytes / 1048576.0 / seconds;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/md5-bench.dat");
    std::printf("writing %lld MiB to %s\n", kFileBytes >> 20, qPrintable(path));
    std::fflush(stdout);
    if (!writeTestFile(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        QFile::remove(path);
        return 1;
    }

    // Warm the page cache once so that both sides read from memory.
    QString jobDigest, sumDigest;
    timeMd5sum(path, &sumDigest);

    const long baselineKiB = statusKiB("VmRSS:");
    const bool peakKnown = resetPeak();
    double bestJob = 1e30, bestSum = 1e30;
    for (int round = 0; round < kRounds; ++round) {
        bestJob = qMin(bestJob, timeJob(path, &jobDigest));
        const double sum = timeMd5sum(path, &sumDigest);
        if (sum > 0)
            bestSum = qMin(bestSum, sum);
    }
    const long peakKiB = statusKiB("VmHWM:");
    QFile::remove(path);

    if (jobDigest != sumDigest || bestSum > 1e29) {
        std::fprintf(stderr, "digests differ: job %s, md5sum %s\n", qPrintable(jobDigest), qPrintable(sumDigest));
        return 1;
    }
    std::printf("digest       %s (both)\n", qPrintable(jobDigest));
    std::printf("MD5 job      %.1f MiB/s (best of %d: %.3f s)\n", mibPerSecond(bestJob), kRounds, bestJob);
    std::printf("md5sum       %.1f MiB/s (best of %d: %.3f s)\n", mibPerSecond(bestSum), kRounds, bestSum);
    if (peakKnown)
        std::printf("job memory   peak %.1f MiB resident, %.1f MiB above the %.1f MiB before the runs\n",
                    peakKiB / 1024.0, (peakKiB - baselineKiB) / 1024.0, baselineKiB / 1024.0);
    else
        std::printf("job memory   peak %.1f MiB resident over the whole program (no peak reset here)\n",
                    peakKiB / 1024.0);
    std::printf("ratio=%.3f\n", bestSum / bestJob);
    return 0;
}
