#include "flow/crash_note.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>

namespace flow {

namespace {

// Filled before any crash; the handler reads them only (it may not allocate).
char logPath[4096] = {};
char line[4600] = {};
volatile std::sig_atomic_t lineLength = 0;
volatile std::sig_atomic_t installed = 0;

void writeAll(int fd, const char* text, size_t length) {
    while (length > 0) {
        const ssize_t n = ::write(fd, text, length);
        if (n <= 0) return;
        text += n;
        length -= static_cast<size_t>(n);
    }
}

void onFatalSignal(int signal) {
    if (lineLength > 0 && logPath[0] != 0) {
        const int fd = ::open(logPath, O_WRONLY | O_APPEND | O_CREAT, 0644);
        if (fd >= 0) {
            char number[16];
            int digits = 0;
            for (int s = signal; s > 0 && digits < 15; s /= 10) number[digits++] = static_cast<char>('0' + s % 10);
            writeAll(fd, "fatal signal ", 13);
            for (int i = digits - 1; i >= 0; --i) writeAll(fd, &number[i], 1);
            writeAll(fd, line, static_cast<size_t>(lineLength));
            ::close(fd);
        }
    }
    // The handler was reset on entry: the signal now does what it would have done.
    std::raise(signal);
}

}  // namespace

void installCrashNote(const std::filesystem::path& logFile) {
    const std::string path = logFile.string();
    if (path.empty() || path.size() >= sizeof logPath) return;
    std::memcpy(logPath, path.c_str(), path.size() + 1);
    if (installed) return;
    installed = 1;
    for (int signal : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL}) {
        struct sigaction action {};
        action.sa_handler = onFatalSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESETHAND | SA_NODEFER;
        sigaction(signal, &action, nullptr);
    }
}

void noteLevelInProgress(const std::filesystem::path& replayFile) {
    lineLength = 0;
    if (replayFile.empty()) return;
    const int n = std::snprintf(line, sizeof line, ": the level in progress is recorded in %s (lumerik --replay plays it)\n",
                                replayFile.string().c_str());
    if (n > 0 && static_cast<size_t>(n) < sizeof line) lineLength = n;
}

}  // namespace flow
