#include "render/asset_path.h"

std::string assetPath(const std::string& path) {
    std::string result = path;
    for (size_t i = 0; i < result.size(); ++i) {
        if (result[i] == '\\') {
            result[i] = '/';
        }
    }
    return result;
}
