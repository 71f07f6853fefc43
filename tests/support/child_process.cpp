#include "support/child_process.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "support/test_files.h"

namespace {

constexpr int execFailed = 127;
constexpr uid_t nobody = 65534;

// In the child: set up and exec, or end with execFailed.
[[noreturn]] void becomeProgram(const std::vector<std::string>& arguments, const ChildOptions& options,
                                const std::string& outPath, const std::string& errPath) {
    int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(execFailed);
    setpgid(0, 0);  // its own group, so a time-out kills all of it
    rlimit cpu{static_cast<rlim_t>(options.cpuLimitSeconds), static_cast<rlim_t>(options.cpuLimitSeconds + 1)};
    if (setrlimit(RLIMIT_CPU, &cpu) != 0) _exit(execFailed);
    if (!options.workingDirectory.empty() && chdir(options.workingDirectory.c_str()) != 0) _exit(execFailed);
    if (options.dropRootPrivileges && geteuid() == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(nobody) != 0 || setuid(nobody) != 0) _exit(execFailed);
    }
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    std::perror(argv[0]);
    _exit(execFailed);
}

}  // namespace

ChildResult runChild(const std::vector<std::string>& arguments, const ChildOptions& options) {
    ChildResult result;
    TempDir capture;
    std::string outPath = capture.file("out"), errPath = capture.file("err");
    pid_t pid = fork();
    if (pid < 0) return result;
    if (pid == 0) becomeProgram(arguments, options, outPath, errPath);

    using Clock = std::chrono::steady_clock;
    Clock::time_point deadline =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(options.wallLimitSeconds));
    int status = 0;
    for (;;) {
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (Clock::now() >= deadline) {
            kill(-pid, SIGKILL);
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            result.timedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    result.output = readText(outPath);
    result.errors = readText(errPath);
    if (result.timedOut) {
        result.started = true;
    } else if (WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
        result.started = result.exitCode != execFailed;
    } else if (WIFSIGNALED(status) && (WTERMSIG(status) == SIGXCPU || WTERMSIG(status) == SIGKILL)) {
        result.timedOut = result.started = true;  // the processor-time limit
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
        result.started = true;
    }
    return result;
}
