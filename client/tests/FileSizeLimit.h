#pragma once
// Makes this process's file writes fail beyond a few bytes while it lives, as
// a full or read-only disk would. The tests run as root, which writes through
// read-only modes but not through the file-size limit.

#include <csignal>
#include <sys/resource.h>

class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved);
        // A write past the limit then fails with EFBIG instead of ending the process.
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved;
        limited.rlim_cur = bytes;
        active = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool isActive() const { return active; }

private:
    rlimit saved{};
    void (*previousHandler)(int) = SIG_DFL;
    bool active = false;
};
