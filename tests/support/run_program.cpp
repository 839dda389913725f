#include "run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>

namespace {

long nowMs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000L + ts.tv_nsec / 1000000L;
}

// Exit status as a shell reports it.
int statusCode(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

RunningProgram startProgram(const std::string& path, const std::vector<std::string>& args,
                            const std::vector<std::string>& env, const std::string& workDir) {
    RunningProgram program;
    int outPipe[2], errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0 || (program.pid = fork()) < 0) {
        return program;
    }
    if (program.pid == 0) {
        dup2(open("/dev/null", O_RDONLY), 0);
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        close(outPipe[0]);
        close(errPipe[0]);
        for (const std::string& entry : env) {
            size_t eq = entry.find('=');
            eq == std::string::npos ? unsetenv(entry.c_str())
                                    : setenv(entry.substr(0, eq).c_str(), entry.substr(eq + 1).c_str(), 1);
        }
        std::vector<char*> argv(1, const_cast<char*>(path.c_str()));
        for (const std::string& a : args) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(0);
        if (workDir.empty() || chdir(workDir.c_str()) == 0) {
            execv(path.c_str(), argv.data());
        }
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    program.out = outPipe[0];
    program.err = errPipe[0];
    return program;
}

bool waitForExit(RunningProgram& program, int timeoutMs) {
    for (long deadline = nowMs() + timeoutMs; program.status < 0 && program.pid > 0; usleep(20000)) {
        int status = 0;
        if (waitpid(program.pid, &status, WNOHANG) == program.pid) {
            program.status = statusCode(status);
        } else if (nowMs() >= deadline) {
            break;
        }
    }
    return program.status >= 0;
}

ProgramResult finishProgram(RunningProgram& program, int timeoutMs) {
    ProgramResult result = {-1, "", ""};
    long deadline = nowMs() + timeoutMs;
    bool outOpen = program.pid > 0, errOpen = outOpen;
    char buffer[4096];
    while (outOpen || errOpen) {
        long left = deadline - nowMs();
        if (left <= 0) {
            kill(program.pid, SIGKILL);
            break;
        }
        pollfd fds[2] = {{program.out, POLLIN, 0}, {program.err, POLLIN, 0}};
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
    close(program.out);
    close(program.err);
    int status = 0;
    if (program.pid > 0 && program.status < 0 && waitpid(program.pid, &status, 0) == program.pid) {
        program.status = statusCode(status);
    }
    result.status = program.status;
    program.pid = program.out = program.err = -1;
    return result;
}

ProgramResult runProgram(const std::string& path, const std::vector<std::string>& args,
                         const std::vector<std::string>& env, const std::string& workDir, int timeoutMs) {
    RunningProgram program = startProgram(path, args, env, workDir);
    return finishProgram(program, timeoutMs);
}
