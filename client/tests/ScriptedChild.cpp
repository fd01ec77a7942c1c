// A small child program for the runner tests. Its arguments are steps, done in
// order: --pidfile PATH (writes its process id there), --lines N (N lines on
// standard output, 100 ms apart), --stderr TEXT, --sleep MS, --abort,
// --exit CODE. Without --exit it ends with 0.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <unistd.h>

int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const char *step = argv[i];
        const char *value = i + 1 < argc ? argv[i + 1] : "0";
        if (std::strcmp(step, "--pidfile") == 0) {
            if (FILE *file = std::fopen(value, "w")) {
                std::fprintf(file, "%ld\n", static_cast<long>(getpid()));
                std::fclose(file);
            }
            ++i;
        } else if (std::strcmp(step, "--lines") == 0) {
            const int lines = std::atoi(value);
            for (int n = 0; n < lines; ++n) {
                std::printf("line %d\n", n + 1);
                std::fflush(stdout);
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
            ++i;
        } else if (std::strcmp(step, "--stderr") == 0) {
            std::fprintf(stderr, "%s", value);
            std::fflush(stderr);
            ++i;
        } else if (std::strcmp(step, "--sleep") == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(value)));
            ++i;
        } else if (std::strcmp(step, "--abort") == 0) {
            std::abort();
        } else if (std::strcmp(step, "--exit") == 0) {
            return std::atoi(value);
        }
    }
    return 0;
}
