#ifndef GELMARCH_TESTS_RUN_PROGRAM_H
#define GELMARCH_TESTS_RUN_PROGRAM_H

#include <string>
#include <vector>

struct ProgramResult {
    int status;            // exit status, or 128 + signal number when killed
    std::string out;       // everything written to stdout
    std::string err;       // everything written to stderr
};

// Runs a program with the given arguments in `workDir`, with `env` entries ("NAME=value", or "NAME" alone
// to remove it) applied on top of this process's environment, and collects both streams.
// The child is killed after `timeoutMs`.
ProgramResult runProgram(const std::string& path, const std::vector<std::string>& args,
                         const std::vector<std::string>& env, const std::string& workDir,
                         int timeoutMs = 20000);

#endif
