#ifndef GELMARCH_APP_RENDER_OPTIONS_H
#define GELMARCH_APP_RENDER_OPTIONS_H

#include <string>
#include <vector>

class World;

// The function-key render options of a match. The switches themselves are World members (F2 toggleInfo,
// F4 toggleLinearFilter, F5 toggleMipmapping, F7 cycleAnisotropy, F8 toggleFrustumCulling, defined in
// world.cpp); F3, F6, F9 and TAB flip a flag directly. This header adds what the HUD shows.

// One line of the option list: its text, its height below the window top, and whether it is a heading.
struct OptionLine {
    std::string text;
    int below;
    bool heading;
};

// The next anisotropy level after `current`: doubled while the driver's maximum is above it, else 1.
int nextAnisotropy(int current, float maximum);

// "Disabled" for level 1, otherwise the level and "x" (for example "4x").
std::string anisotropyText(int level);

// The fps line and the seven option headings with their values, top to bottom.
std::vector<OptionLine> renderOptionLines(const World& world, int fps);

#endif
