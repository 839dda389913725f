#ifndef GELMARCH_TESTS_RUN_PROGRAM_H
#define GELMARCH_TESTS_RUN_PROGRAM_H

#include <string>
#include <vector>

// Exit status (or 128 + signal number when killed) and everything written to stdout and stderr.
struct ProgramResult { int status; std::string out, err; };
// A started child: its pid, the (unlinked) files that collect its stdout and stderr, its status once reaped.
struct RunningProgram { int pid = -1, out = -1, err = -1, status = -1; };

// Starts a program with the given arguments in `workDir`, with `env` entries ("NAME=value", or "NAME" alone
// to remove it) applied on top of this process's environment. pid stays -1 when it cannot be started.
RunningProgram startProgram(const std::string& path, const std::vector<std::string>& args,
                            const std::vector<std::string>& env, const std::string& workDir);

// Waits up to `timeoutMs` for the child to end; true once it has (its status is then kept).
bool waitForExit(RunningProgram& program, int timeoutMs);
// Waits up to `timeoutMs` for the child to end, else kills it by its pid; then returns what it wrote.
ProgramResult finishProgram(RunningProgram& program, int timeoutMs);
// startProgram then finishProgram.
ProgramResult runProgram(const std::string& path, const std::vector<std::string>& args,
                         const std::vector<std::string>& env, const std::string& workDir, int timeoutMs = 20000);

#endif
