// Starts the start-up probe (startup_probe, beside this program) as the user
// starts the program, offscreen, and waits for it to end: the time from launch to
// exit, the processor time it used, and its peak memory.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <chrono>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace bench {

struct ProbeResult {
    double seconds;
    double cpuSeconds;
    long peakKb;
};

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

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data()) != 0)
        throw std::runtime_error("cannot start " + program);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) throw std::runtime_error("lost the start-up probe");
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("the start-up probe failed (status " + std::to_string(status) + ")");
    const auto toSeconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return {seconds, toSeconds(usage.ru_utime) + toSeconds(usage.ru_stime), usage.ru_maxrss};
}

}  // namespace bench
