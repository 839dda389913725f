#include "app/render_options.h"

#include <cstdio>

#include "app/world.h"
#include "game/unit_manager.h"
#include "scene/blob_mesh.h"

namespace {

// The value line under an on/off heading.
std::string enabledText(bool on) {
    return on ? "Enabled" : "Disabled";
}

}  // namespace

// Doubling stops at the first level that reaches the maximum; the next press turns filtering off.
int nextAnisotropy(int current, float maximum) {
    if (maximum > (float)current) {
        return current * 2;
    }
    return 1;
}

// Level 1 means no anisotropic filtering at all.
std::string anisotropyText(int level) {
    if (level == 1) {
        return "Disabled";
    }
    char text[16];
    std::snprintf(text, sizeof(text), "%dx", level);
    return text;
}

// Heading and value pairs 40 pixels apart, the value 14 pixels under its heading.
std::vector<OptionLine> renderOptionLines(const World& world, int fps) {
    const UnitManager* m = world.unitManager;
    char fpsText[32];
    std::snprintf(fpsText, sizeof(fpsText), "%d fps", fps);
    std::vector<OptionLine> lines;
    lines.push_back({fpsText, 40, false});
    const std::string pairs[7][2] = {
        {"Wireframe (F3)", enabledText(world.wireframe)},
        {"Texture Filter (F4)", world.linearFilter ? "Linear" : "Nearest"},
        {"Mipmapping (F5)", enabledText(world.mipmapping)},
        {"Draw Line to Target (F6)", enabledText(m->showTargetLines)},
        {"Anisotropic Filter (F7)", anisotropyText(world.anisotropy)},
        {"Frustum Culling (F8)", enabledText(world.frustumCulling)},
        {"Alpha Blending (F9)", enabledText(m->blobMesh->transparent)},
    };
    for (int i = 0; i < 7; ++i) {
        lines.push_back({pairs[i][0], 66 + i * 40, true});
        lines.push_back({pairs[i][1], 80 + i * 40, false});
    }
    return lines;
}
