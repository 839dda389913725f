#ifndef GELMARCH_APP_COMMAND_LINE_H
#define GELMARCH_APP_COMMAND_LINE_H

// What the command line asks for. `exitNow` is set by -v and -d, which have already printed their line.
struct LaunchOptions {
    int width;
    int height;
    bool fullscreen;
    bool exitNow;
};

// Reads the arguments left to right; unknown ones are reported on stdout and skipped.
LaunchOptions parseCommandLine(int argc, char** argv);

#endif
