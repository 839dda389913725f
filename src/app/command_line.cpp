#include "app/command_line.h"

#include "app/version.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

const char* const kDudeMessages[10] = {
    "The quick brown fox jumps over the lazy dog",
    "ddate is not installed. Please contact your system administrator!",
    "42 is the answer",
    "There are 10 types of people: Those who understand binary and those who don't!",
    "I don't like Blobby Volley. These slimy guys are disgusting!",
    "Knock knock! Who's there? Me!",
    "You must finish your homework before you are allowed to play this game!",
    "I'm not Mr Lebowsky. You are Mr Lebowsky. I am the DUDE!",
    "My life for Aiur!",
    "We must construct additional Pylons!",
};

}  // namespace

LaunchOptions parseCommandLine(int argc, char** argv) {
    LaunchOptions options = {1024, 768, false, false};
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "-r") == 0) {
            if (i + 2 >= argc) {
                // Without both numbers the option cannot mean anything; keep the size we had.
                std::printf("The command -r needs a width and a height, dude! Keeping %dx%d.\n",
                            options.width, options.height);
                break;
            }
            options.width = std::atoi(argv[i + 1]);
            options.height = std::atoi(argv[i + 2]);
            i += 2;
        } else if (std::strcmp(arg, "-f") == 0) {
            options.fullscreen = true;
        } else if (std::strcmp(arg, "-v") == 0) {
            std::printf("Gelmarch " GELMARCH_VERSION "\n");
            options.exitNow = true;
            break;
        } else if (std::strcmp(arg, "-d") == 0) {
            std::srand((unsigned)std::time(NULL));
            std::printf("%s\n", kDudeMessages[std::rand() % 10]);
            options.exitNow = true;
            break;
        } else {
            std::printf("You might have mistyped something, dude! The command %s doesn't exist!\n", arg);
        }
    }
    std::fflush(stdout);
    return options;
}
