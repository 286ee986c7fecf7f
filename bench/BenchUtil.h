#pragma once
// Small helpers shared by the benchmarks: wall-clock timing and peak memory of one piece of work,
// measured in a forked child so that every measurement starts from the same process state and
// memory freed by an earlier run cannot hide a later run's peak.

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <type_traits>

namespace qorv::bench {

struct Measurement {
    double seconds = 0;
    double peakBytes = 0;  // peak resident memory of the work above the process's baseline
};

// A "Vm...:" line of /proc/self/status, in bytes.
inline double ProcStatusBytes(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::size_t keyLength = std::strlen(key);
    while (std::getline(status, line)) {
        if (line.compare(0, keyLength, key) == 0) {
            return std::atof(line.c_str() + keyLength) * 1024.0;  // the kernel says kB
        }
    }
    return 0;
}

// Runs `work` in a forked child and returns what it returned, a plain value sent back through a
// pipe: for work that times its own part after a set-up of its own. The child never returns: it
// reports and exits; a child that throws or crashes makes this throw.
template <typename Result, typename Work>
Result RunInChild(Work&& work) {
    static_assert(std::is_trivially_copyable_v<Result>);
    int fds[2];
    if (pipe(fds) != 0) {
        throw std::runtime_error("pipe failed");
    }
    const pid_t pid = fork();
    if (pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid == 0) {
        close(fds[0]);
        try {
            const Result result = work();
            const bool sent =
                write(fds[1], &result, sizeof result) == static_cast<ssize_t>(sizeof result);
            _exit(sent ? 0 : 1);
        } catch (...) {
            _exit(3);
        }
    }
    close(fds[1]);
    Result result{};
    const bool received =
        read(fds[0], &result, sizeof result) == static_cast<ssize_t>(sizeof result);
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!received || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("the measured child failed");
    }
    return result;
}

// Runs `work` in a forked child and returns its time and its peak memory above the child's
// resident memory at the start.
template <typename Work>
Measurement MeasureInChild(Work&& work) {
    return RunInChild<Measurement>([&] {
        // Let VmHWM start from here (Linux 4.0 and later).
        if (FILE* refs = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", refs);
            std::fclose(refs);
        }
        Measurement m;
        const double baseline = ProcStatusBytes("VmRSS:");
        const auto start = std::chrono::steady_clock::now();
        work();
        m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        m.peakBytes = ProcStatusBytes("VmHWM:") - baseline;
        return m;
    });
}

// Best time and highest peak of `runs` measurements.
template <typename Work>
Measurement BestOf(int runs, Work&& work) {
    Measurement best;
    for (int i = 0; i < runs; ++i) {
        const Measurement m = MeasureInChild(work);
        if (i == 0 || m.seconds < best.seconds) {
            best.seconds = m.seconds;
        }
        if (m.peakBytes > best.peakBytes) {
            best.peakBytes = m.peakBytes;
        }
    }
    return best;
}

// Best wall-clock seconds of `runs` runs of `work` in this process, one after the other.
template <typename Work>
double BestSecondsHere(int runs, Work&& work) {
    double best = 0;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work(i);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        best = i == 0 ? seconds : std::min(best, seconds);
    }
    return best;
}

inline void Report(const char* name, double value, const char* unit) {
    std::printf("bench: %s %.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

}  // namespace qorv::bench
