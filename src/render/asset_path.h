#ifndef GELMARCH_RENDER_ASSET_PATH_H
#define GELMARCH_RENDER_ASSET_PATH_H

#include <string>

// The game names its files with backslashes (".\\textures\\other\\fx.png"); this maps them to the
// platform's separator at the moment a file is opened. Messages keep the name as the game wrote it.
std::string assetPath(const std::string& path);

#endif
