#include "run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

long nowMs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000L + ts.tv_nsec / 1000000L;
}

}  // namespace

ProgramResult runProgram(const std::string& path, const std::vector<std::string>& args,
                         const std::vector<std::string>& env, const std::string& workDir, int timeoutMs) {
    ProgramResult result = {-1, "", ""};
    int outPipe[2], errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0) {
        return result;
    }
    pid_t pid = fork();
    if (pid == 0) {
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        close(outPipe[0]);
        close(errPipe[0]);
        int devNull = open("/dev/null", O_RDONLY);
        if (devNull >= 0) {
            dup2(devNull, 0);
        }
        for (const std::string& entry : env) {
            size_t eq = entry.find('=');
            if (eq == std::string::npos) {
                unsetenv(entry.c_str());
            } else {
                setenv(entry.substr(0, eq).c_str(), entry.substr(eq + 1).c_str(), 1);
            }
        }
        if (!workDir.empty() && chdir(workDir.c_str()) != 0) {
            _exit(126);
        }
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(path.c_str()));
        for (const std::string& a : args) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(0);
        execv(path.c_str(), argv.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    long deadline = nowMs() + timeoutMs;
    bool outOpen = true, errOpen = true;
    char buffer[4096];
    while (outOpen || errOpen) {
        long left = deadline - nowMs();
        if (left <= 0) {
            kill(pid, SIGKILL);
            break;
        }
        pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
        if (poll(fds, 2, (int)left) <= 0) {
            continue;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].revents & (POLLIN | POLLHUP)) {
                ssize_t n = read(fds[i].fd, buffer, sizeof(buffer));
                if (n > 0) {
                    (i == 0 ? result.out : result.err).append(buffer, n);
                } else {
                    (i == 0 ? outOpen : errOpen) = false;
                }
            }
        }
    }
    close(outPipe[0]);
    close(errPipe[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}
