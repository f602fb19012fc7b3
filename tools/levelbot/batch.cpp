#include "batch.hpp"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <sstream>

namespace levelbot {

namespace {

void appendNumber(std::string& out, double value) {
    char text[32];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    out.append(text, ec == std::errc() ? end : text);
    out.push_back(' ');
}

bool writeAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

struct Worker {
    pid_t pid = -1;
    int fd = -1;
    std::string pending;
};

}  // namespace

std::string encodeResult(size_t index, const AttemptResult& r) {
    std::string out;
    appendNumber(out, static_cast<double>(index));
    for (double v : {double(r.won), double(r.stuck), double(r.cutOff), r.progress, r.left, double(r.limit), double(r.moves),
                     double(r.shuffles), double(r.gameMs), double(r.milestones.size())})
        appendNumber(out, v);
    for (const Milestone& m : r.milestones) {
        appendNumber(out, m.progress);
        appendNumber(out, m.left);
    }
    out.back() = '\n';
    return out;
}

bool decodeResult(const std::string& line, size_t& index, AttemptResult& r) {
    std::istringstream in(line);
    double v[11];
    for (double& x : v)
        if (!(in >> x)) return false;
    index = static_cast<size_t>(v[0]);
    r = {};
    r.won = v[1] != 0;
    r.stuck = v[2] != 0;
    r.cutOff = v[3] != 0;
    r.progress = v[4];
    r.left = v[5];
    r.limit = static_cast<int32_t>(v[6]);
    r.moves = static_cast<int32_t>(v[7]);
    r.shuffles = static_cast<int32_t>(v[8]);
    r.gameMs = static_cast<uint32_t>(v[9]);
    const size_t count = static_cast<size_t>(v[10]);
    for (size_t i = 0; i < count; ++i) {
        Milestone m;
        if (!(in >> m.progress >> m.left)) return false;
        r.milestones.push_back(m);
    }
    return true;
}

std::vector<AttemptResult> runAttempts(const LevelSet& set, const GameFolders& folders, const std::vector<AttemptSetup>& setups,
                                       int workers, const ProgressFn& progress) {
    std::vector<AttemptResult> results(setups.size());
    const size_t total = setups.size();
    if (workers <= 1 || total <= 1) {
        for (size_t i = 0; i < total; ++i) {
            results[i] = playAttempt(set, folders, setups[i]);
            if (progress) progress(i + 1, total);
        }
        return results;
    }

    std::vector<bool> received(total, false);
    std::vector<Worker> pool;
    for (int k = 0; k < workers; ++k) {
        int fds[2];
        if (::pipe(fds) != 0) break;
        std::fflush(nullptr);
        const pid_t pid = ::fork();
        if (pid < 0) {
            ::close(fds[0]);
            ::close(fds[1]);
            break;
        }
        if (pid == 0) {
            ::close(fds[0]);
            GameFolders own = folders;
            own.writeRoot = folders.writeRoot / ("worker-" + std::to_string(k));
            std::filesystem::create_directories(own.writeRoot);
            for (size_t i = static_cast<size_t>(k); i < total; i += static_cast<size_t>(workers))
                if (!writeAll(fds[1], encodeResult(i, playAttempt(set, own, setups[i])))) break;
            ::close(fds[1]);
            ::_exit(0);
        }
        ::close(fds[1]);
        pool.push_back({pid, fds[0], {}});
    }

    size_t done = 0;
    for (;;) {
        std::vector<pollfd> polls;
        for (const Worker& w : pool)
            if (w.fd >= 0) polls.push_back({w.fd, POLLIN, 0});
        if (polls.empty()) break;
        if (::poll(polls.data(), polls.size(), -1) < 0) continue;
        for (Worker& w : pool) {
            if (w.fd < 0) continue;
            auto it = std::find_if(polls.begin(), polls.end(), [&](const pollfd& p) { return p.fd == w.fd; });
            if (it == polls.end() || it->revents == 0) continue;
            char buffer[4096];
            const ssize_t n = ::read(w.fd, buffer, sizeof buffer);
            if (n <= 0) {
                ::close(w.fd);
                w.fd = -1;
                continue;
            }
            w.pending.append(buffer, static_cast<size_t>(n));
            for (size_t end; (end = w.pending.find('\n')) != std::string::npos;) {
                size_t index = 0;
                AttemptResult r;
                if (decodeResult(w.pending.substr(0, end), index, r) && index < total) {
                    results[index] = std::move(r);
                    received[index] = true;
                    ++done;
                    if (progress) progress(done, total);
                }
                w.pending.erase(0, end + 1);
            }
        }
    }
    for (const Worker& w : pool) ::waitpid(w.pid, nullptr, 0);
    for (size_t i = 0; i < total; ++i)
        if (!received[i]) results[i].cutOff = true;
    return results;
}

}  // namespace levelbot
