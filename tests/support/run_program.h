#ifndef GELMARCH_TESTS_RUN_PROGRAM_H
#define GELMARCH_TESTS_RUN_PROGRAM_H

#include <string>
#include <vector>

struct ProgramResult {
    int status;            // exit status, or 128 + signal number when killed
    std::string out;       // everything written to stdout
    std::string err;       // everything written to stderr
};

// A started child: its pid, the read ends of its stdout and stderr, and its status once reaped.
struct RunningProgram {
    int pid = -1;
    int out = -1;
    int err = -1;
    int status = -1;
};

// Starts a program with the given arguments in `workDir`, with `env` entries ("NAME=value", or "NAME" alone
// to remove it) applied on top of this process's environment. pid stays -1 when it cannot be started.
RunningProgram startProgram(const std::string& path, const std::vector<std::string>& args,
                            const std::vector<std::string>& env, const std::string& workDir);

// Waits up to `timeoutMs` for the child to end; true once it has (its status is then kept).
bool waitForExit(RunningProgram& program, int timeoutMs);

// Collects both streams until the child closes them, kills it by its pid after `timeoutMs`, and reaps it.
ProgramResult finishProgram(RunningProgram& program, int timeoutMs);

// startProgram then finishProgram.
ProgramResult runProgram(const std::string& path, const std::vector<std::string>& args,
                         const std::vector<std::string>& env, const std::string& workDir,
                         int timeoutMs = 20000);

// The id of the mapped, viewable window named `title` that process `pid` owns, once there is one;
// "" when none appears within `timeoutMs`. Needs xdotool.
std::string findWindow(int pid, const std::string& title, int timeoutMs);

#endif
