#include "run_program.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>

// Milliseconds on a clock that never jumps back.
static long nowMs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000L + ts.tv_nsec / 1000000L;
}

// Everything in the file behind fd, from its start; empty when it cannot be read.
static std::string readFrom(int fd) {
    std::string text;
    char buffer[4096];
    lseek(fd, 0, SEEK_SET);
    for (ssize_t n = 0; (n = read(fd, buffer, sizeof(buffer))) > 0;) {
        text.append(buffer, n);
    }
    return text;
}

// Exit status as a shell reports it.
static int statusCode(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

RunningProgram startProgram(const std::string& path, const std::vector<std::string>& args,
                            const std::vector<std::string>& env, const std::string& workDir) {
    RunningProgram program;
    char outName[] = "/tmp/gelmarch_out_XXXXXX", errName[] = "/tmp/gelmarch_err_XXXXXX";
    program.out = mkstemp(outName);
    program.err = mkstemp(errName);
    unlink(outName);
    unlink(errName);
    if (program.out < 0 || program.err < 0 || (program.pid = fork()) < 0) {
        return program;
    }
    if (program.pid == 0) {
        dup2(open("/dev/null", O_RDONLY), 0);
        dup2(program.out, 1);
        dup2(program.err, 2);
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
    if (program.pid > 0 && !waitForExit(program, timeoutMs)) {
        kill(program.pid, SIGKILL);
        waitForExit(program, 5000);
    }
    ProgramResult result = {program.status, readFrom(program.out), readFrom(program.err)};
    close(program.out);
    close(program.err);
    program.pid = program.out = program.err = -1;
    return result;
}

ProgramResult runProgram(const std::string& path, const std::vector<std::string>& args,
                         const std::vector<std::string>& env, const std::string& workDir, int timeoutMs) {
    RunningProgram program = startProgram(path, args, env, workDir);
    return finishProgram(program, timeoutMs);
}
