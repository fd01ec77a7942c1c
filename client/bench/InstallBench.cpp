// The install step of the game road against the tools alone: the MD5 job and
// the unpacking runner on the client's "Tools/7z" against md5sum and 7z x on
// the same package. The package (several hundred MiB in thousands of files,
// half of them compressible) is made once beside the program. The two sides
// alternate round by round into fresh folders, warm cache, best of three.
// The last line is "time_ratio=<ours/theirs>".

#include "core/AppFolders.h"
#include "core/game/VRAppInfo.h"
#include "core/jobs/MyThread.h"
#include "core/jobs/VarifyMD5.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QThreadPool>

#include <cstdio>

namespace {

const int kFiles = 5000;
const int kFileBytes = 128 * 1024;

bool makePackage(const QString &package)
{
    if (QFileInfo(package).size() > 0)
        return true;
    const QString source = QCoreApplication::applicationDirPath() + QStringLiteral("/install-bench-source");
    QDir(source).removeRecursively();
    quint64 x = 0x9E3779B97F4A7C15ull;
    QByteArray bytes(kFileBytes, '\0');
    for (int i = 0; i < kFiles; ++i) {
        const QString folder = source + QStringLiteral("/data%1").arg(i / 100);
        QDir().mkpath(folder);
        const bool compressible = i % 2 == 0;
        for (int b = 0; b < kFileBytes; b += 8) {
            x ^= x << 13;
            x ^= x >> 7;
            x ^= x << 17;
            quint64 word = compressible ? 0x2020656c76656c20ull + (x & 0x0707) : x;
            memcpy(bytes.data() + b, &word, 8);
        }
        QFile file(folder + QStringLiteral("/file%1.bin").arg(i));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return false;
    }
    QProcess zip;
    zip.setWorkingDirectory(source);
    zip.start(QStringLiteral("/usr/bin/7z"), {QStringLiteral("a"), QStringLiteral("-tzip"), QStringLiteral("-mx=1"),
                                              package, QStringLiteral(".")});
    const bool ok = zip.waitForFinished(-1) && zip.exitCode() == 0;
    QDir(source).removeRecursively();
    return ok;
}

double oursMs(const QString &package, const QString &folder)
{
    VRAppInfo info;
    QEventLoop loop;
    QElapsedTimer clock;
    clock.start();
    auto *job = new VarifyMD5(package, &info);
    QString digest;
    QObject::connect(job, &VarifyMD5::VarifyResult, &loop, [&](const QString &md5, void *) {
        digest = md5;
        loop.quit();
    }, Qt::QueuedConnection);
    QThreadPool::globalInstance()->start(job, 0);
    loop.exec();
    auto *runner = new MyThread(nullptr, &info, getToolsDir() + QStringLiteral("7z"),
                                {QStringLiteral("x"), package, QStringLiteral("-y"), QStringLiteral("-o") + folder});
    bool unpacked = false;
    QObject::connect(runner, &MyThread::sendUnZipResault, &loop, [&](bool ok, VRAppInfo *) {
        unpacked = ok;
        loop.quit();
    });
    runner->start();
    loop.exec();
    const double ms = clock.nsecsElapsed() / 1e6;
    return digest.size() == 32 && unpacked ? ms : -1;
}

double theirsMs(const QString &package, const QString &folder)
{
    QElapsedTimer clock;
    clock.start();
    QProcess md5sum;
    md5sum.start(QStringLiteral("md5sum"), {package});
    if (!md5sum.waitForFinished(-1) || md5sum.exitCode() != 0)
        return -1;
    QProcess unzip;
    unzip.setProcessChannelMode(QProcess::MergedChannels);
    unzip.start(QStringLiteral("/usr/bin/7z"), {QStringLiteral("x"), package, QStringLiteral("-y"), QStringLiteral("-o") + folder});
    if (!unzip.waitForFinished(-1) || unzip.exitCode() != 0)
        return -1;
    return clock.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
        if (type >= QtWarningMsg)
            fprintf(stderr, "%s\n", qPrintable(text));
    });
    const QString dir = QCoreApplication::applicationDirPath();
    const QString package = dir + QStringLiteral("/install-bench.zip");
    if (!makePackage(package)) {
        fprintf(stderr, "cannot make %s\n", qPrintable(package));
        return 1;
    }
    // The client folder's extractor: the program folder's Tools/7z as the client has it.
    QFile::remove(getToolsDir() + QStringLiteral("7z"));
    QFile::link(QStringLiteral("/usr/bin/7z"), getToolsDir() + QStringLiteral("7z"));
    printf("package: %s, %.0f MiB in %d files\n", qPrintable(package), QFileInfo(package).size() / 1048576.0, kFiles);

    const QString folder = dir + QStringLiteral("/install-bench-out");
    auto fresh = [&]() {
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
    };
    // Warm the cache once.
    fresh();
    theirsMs(package, folder);
    double ours = 1e12, theirs = 1e12;
    for (int round = 0; round < 3; ++round) {
        fresh();
        const double a = oursMs(package, folder);
        fresh();
        const double b = theirsMs(package, folder);
        if (a < 0 || b < 0) {
            fprintf(stderr, "round %d failed\n", round + 1);
            return 1;
        }
        printf("round %d: ours %.0f ms, md5sum + 7z x %.0f ms\n", round + 1, a, b);
        ours = qMin(ours, a);
        theirs = qMin(theirs, b);
    }
    QDir(folder).removeRecursively();
    printf("ours_ms=%.0f\ntheirs_ms=%.0f\n", ours, theirs);
    printf("time_ratio=%.3f\n", ours / theirs);
    return 0;
}
