#include "FixtureCatalogue.h"
#include "JsonValue.h"
#include "ServerOptions.h"
#include "StoreServer.h"

#include <csignal>
#include <cstdio>
#include <sys/prctl.h>
#include <thread>
#include <unistd.h>

int main(int argc, char** argv)
{
    ServerOptions options;
    std::string error;
    if (!ServerOptions::parse(argc, argv, options, &error)) {
        std::fprintf(stderr, "storeserver: %s\n%s", error.c_str(), ServerOptions::usage());
        return 2;
    }
    if (options.help) {
        std::fputs(ServerOptions::usage(), stdout);
        return 0;
    }

    FixtureCatalogue catalogue;
    if (!catalogue.generate(options.dataDir, options.bigFileMiB, &error)) {
        std::fprintf(stderr, "storeserver: %s\n", error.c_str());
        return 1;
    }

    // Termination signals are taken by one thread that stops the server, so
    // no handler runs inside a signal context.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    // A test that crashes must not leave its server behind holding the test
    // runner's output open: the server stops when the process that started it ends.
    const pid_t starter = getppid();
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != starter)
        return 0;

    StoreServer server(options, catalogue);
    int port = server.bind(options.port, &error);
    if (port < 0) {
        std::fprintf(stderr, "storeserver: %s\n", error.c_str());
        return 1;
    }
    std::string address = "127.0.0.1:" + std::to_string(port);
    if (!catalogue.writeDescription("http://" + address))
        std::fprintf(stderr, "storeserver: cannot write %s/catalogue.json\n", options.dataDir.c_str());

    std::thread signalWaiter([&server, signals] {
        int received = 0;
        sigwait(&signals, &received);
        server.stop();
    });
    signalWaiter.detach();

    std::printf("listening %s\n", address.c_str());
    std::fflush(stdout);
    server.run();
    return 0;
}
