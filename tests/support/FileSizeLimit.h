// Test support: a disk that fills up halfway through a write, in this process. While the object lives,
// no file may grow beyond the given size: a write past it fails with EFBIG (SIGXFSZ is ignored so the
// process goes on). The previous limit and signal handling come back when it goes. Header-only.
#pragma once

#include <csignal>
#include <stdexcept>

#include <sys/resource.h>

namespace testsupport {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        if (getrlimit(RLIMIT_FSIZE, &m_saved) != 0) throw std::runtime_error("getrlimit failed");
        m_handler = signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = m_saved;
        small.rlim_cur = bytes;
        if (setrlimit(RLIMIT_FSIZE, &small) != 0) {
            signal(SIGXFSZ, m_handler);
            throw std::runtime_error("setrlimit failed");
        }
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    struct rlimit m_saved;
    sighandler_t m_handler;
};

}  // namespace testsupport
