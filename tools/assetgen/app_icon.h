#ifndef GELMARCH_ASSETGEN_APP_ICON_H
#define GELMARCH_ASSETGEN_APP_ICON_H

#include <string>

// Writes the desktop icon in the sizes desktop menus look for as DIR/NxN/apps/gelmarch.png, laid out like
// the hicolor theme: a green blob beside a purple crystal on a rounded dark-green tile, RGBA on a
// transparent ground, drawn at 256 pixels and scaled down, so every size shows the same picture.
// False if a file cannot be written.
bool writeAppIcons(const std::string& dir);

#endif
