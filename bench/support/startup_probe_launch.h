// Starts the start-up probe (startup_probe, beside this program) as the user
// starts the program, offscreen, and waits for it to end: the time from launch to
// exit, the processor time it used, and the peak memory it reports.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <chrono>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace bench {

struct ProbeResult {
    double seconds;
    double cpuSeconds;
    long peakKb;
};

// The peak memory the probe prints ("peak_kb=N"); its parent's figure would count
// the parent's own memory at the launch as well.
inline long probePeakKb(int fd) {
    std::string output;
    char buffer[256];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) output.append(buffer, static_cast<std::size_t>(n));
    const std::size_t at = output.find("peak_kb=");
    return at == std::string::npos ? 0 : std::stol(output.substr(at + 8));
}

inline ProbeResult launchStartupProbe() {
    const std::string program =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("startup_probe")).toStdString();
    std::vector<std::string> variables;
    for (char** v = environ; *v; ++v)
        if (std::string(*v).rfind("QT_QPA_PLATFORM=", 0) != 0) variables.emplace_back(*v);
    variables.emplace_back("QT_QPA_PLATFORM=offscreen");
    std::vector<char*> envp;
    for (std::string& v : variables) envp.push_back(v.data());
    envp.push_back(nullptr);
    std::string argv0 = program;
    char* argv[] = {argv0.data(), nullptr};

    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("no pipe for the start-up probe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        throw std::runtime_error("cannot start " + program);
    }
    const long peakKb = probePeakKb(out[0]);  // until the probe closes its output, at exit
    close(out[0]);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) throw std::runtime_error("lost the start-up probe");
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("the start-up probe failed (status " + std::to_string(status) + ")");
    const auto toSeconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return {seconds, toSeconds(usage.ru_utime) + toSeconds(usage.ru_stime), peakKb};
}

}  // namespace bench
