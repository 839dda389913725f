#ifndef GELMARCH_ASSETGEN_CONTACT_SHEET_H
#define GELMARCH_ASSETGEN_CONTACT_SHEET_H

#include "image.h"

#include <string>
#include <utility>
#include <vector>

// Lays out every generated picture as a labelled thumbnail on a dark checkerboard (so transparency shows),
// then the whole font image and sample lines set with it the way the game sets text.
Image makeContactSheet(const std::vector<std::pair<std::string, Image>>& thumbnails, const Image& fontAtlas);

#endif
