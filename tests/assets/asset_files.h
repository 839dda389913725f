#ifndef GELMARCH_TESTS_ASSETS_ASSET_FILES_H
#define GELMARCH_TESTS_ASSETS_ASSET_FILES_H

#include <string>
#include <vector>

// The whole file as bytes; empty when it cannot be read.
std::vector<unsigned char> readFileBytes(const std::string& path);

#endif
