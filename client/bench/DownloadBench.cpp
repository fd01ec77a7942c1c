// download-bench: downloads a 1 GiB package from the store stand-in on
// loopback with curl, with the client's own HTTP path and with the download
// engine, best of three each, into one folder; prints each throughput, each
// method's peak memory (the child process's maximum resident set) and, as its
// last two lines, http_ratio=<http/curl> and engine_ratio=<engine/curl>.
//
//   download-bench [--dir FOLDER] [--mib N]
//
// FOLDER (default: a new folder beside this program's folder) holds the
// server's data, the copied runner and the downloads; it is removed at the end.

#include "core/jobs/VarifyMD5.h"

#include "StoreServerProcess.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct ChildResult {
    bool ok = false;
    std::string output;
    long maxRssKiB = 0;
};

// Runs a program with its standard output captured; waits for it and takes
// its own resource usage (wait4), so each method's memory is its own.
ChildResult runChild(const std::vector<std::string> &argv)
{
    ChildResult result;
    int fds[2];
    if (pipe(fds) != 0)
        return result;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        close(fds[0]);
        close(fds[1]);
        std::vector<char *> args;
        for (const std::string &arg : argv)
            args.push_back(const_cast<char *>(arg.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(fds[1]);
    char buffer[4096];
    ssize_t count;
    while ((count = read(fds[0], buffer, sizeof buffer)) > 0 || (count < 0 && errno == EINTR)) {
        if (count > 0)
            result.output.append(buffer, static_cast<size_t>(count));
    }
    close(fds[0]);
    int status = 0;
    struct rusage usage {};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    result.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    result.maxRssKiB = usage.ru_maxrss;
    return result;
}

// Milliseconds the runner reported for its download, or -1.
double elapsedFromRunner(const std::string &output)
{
    const size_t at = output.find("elapsed_ms ");
    return at == std::string::npos ? -1.0 : std::atof(output.c_str() + at + 11);
}

struct Method {
    const char *name;
    double bestMiBps = 0;
    long peakRssKiB = 0;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QString baseDir = QFileInfo(QCoreApplication::applicationDirPath()).absolutePath();
    int mib = 1024;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args.at(i) == QLatin1String("--dir"))
            baseDir = args.at(i + 1);
        else if (args.at(i) == QLatin1String("--mib"))
            mib = args.at(i + 1).toInt();
    }
    QTemporaryDir work(baseDir + QStringLiteral("/download-bench-XXXXXX"));
    if (!work.isValid() || mib <= 0) {
        std::fprintf(stderr, "cannot create a work folder in %s\n", qPrintable(baseDir));
        return 2;
    }
    const QString appDir = work.filePath(QStringLiteral("app"));
    const QString outDir = work.filePath(QStringLiteral("downloads"));
    QDir().mkpath(appDir);
    QDir().mkpath(outDir);
    const QString runner = appDir + QStringLiteral("/download-runner");
    if (!QFile::copy(QStringLiteral(DOWNLOAD_RUNNER_PATH), runner)
        || !QFile::copy(QStringLiteral(ENGINE_LIBRARY_PATH), appDir + QStringLiteral("/libxldl.so"))) {
        std::fprintf(stderr, "cannot copy the runner and the engine into %s\n", qPrintable(appDir));
        return 2;
    }

    std::printf("preparing a %d MiB package in %s\n", mib, qPrintable(work.path()));
    std::fflush(stdout);
    StoreServerProcess server({"--big-file-mib", std::to_string(mib)}, STORESERVER_PATH);
    server.setWorkFolderParent(work.path().toStdString());
    if (!server.start()) {
        std::fprintf(stderr, "storeserver did not start: %s\n", server.error().c_str());
        return 2;
    }
    const QString package = QString::fromStdString(server.dataDir()) + QStringLiteral("/download/games/benchmark-game.zip");
    const qint64 size = QFileInfo(package).size();
    const QString expectedMd5 = VarifyMD5::digestOfFile(package);
    const std::string url = server.baseUrl() + "/download/games/benchmark-game.zip";

    Method methods[] = {{"curl"}, {"http"}, {"engine"}};
    bool failed = false;
    for (int round = 1; round <= 3 && !failed; ++round) {
        for (int m = 0; m < 3; ++m) {
            const QString target = outDir + QStringLiteral("/") + QLatin1String(methods[m].name) + QStringLiteral(".zip");
            const std::string targetText = target.toStdString();
            std::vector<std::string> command;
            if (m == 0)
                command = {"curl", "-s", "-S", "-o", targetText, "-w", "elapsed_ms %{time_total}\n", url};
            else if (m == 1)
                command = {runner.toStdString(), url, methods[m].name + std::string(".zip"), outDir.toStdString()};
            else
                command = {runner.toStdString(), "--engine-direct", url, methods[m].name + std::string(".zip"),
                           outDir.toStdString()};
            const ChildResult result = runChild(command);
            double ms = elapsedFromRunner(result.output);
            if (m == 0)
                ms *= 1000.0; // curl states seconds
            const bool complete = result.ok && ms > 0 && QFileInfo(target).size() == size
                                  && (round > 1 || VarifyMD5::digestOfFile(target) == expectedMd5);
            QFile::remove(target);
            if (!complete) {
                std::fprintf(stderr, "%s failed in round %d: %s\n", methods[m].name, round, result.output.c_str());
                failed = true;
                break;
            }
            const double mibps = static_cast<double>(size) / (1024.0 * 1024.0) / (ms / 1000.0);
            std::printf("round %d %-6s %8.1f MiB/s  %7.0f ms  peak %6.1f MiB\n", round, methods[m].name, mibps, ms,
                        result.maxRssKiB / 1024.0);
            std::fflush(stdout);
            methods[m].bestMiBps = std::max(methods[m].bestMiBps, mibps);
            methods[m].peakRssKiB = std::max(methods[m].peakRssKiB, result.maxRssKiB);
        }
    }
    server.stop();
    if (failed)
        return 1;

    for (const Method &method : methods)
        std::printf("%-6s best %8.1f MiB/s  peak memory %6.1f MiB\n", method.name, method.bestMiBps,
                    method.peakRssKiB / 1024.0);
    std::printf("http_ratio=%.3f\n", methods[1].bestMiBps / methods[0].bestMiBps);
    std::printf("engine_ratio=%.3f\n", methods[2].bestMiBps / methods[0].bestMiBps);
    return 0;
}
