// Writes the game's textures and sounds below the directory given as its argument (the build passes bin/);
// with --contact-sheet OUT.png it also lays every picture out on one sheet for a person to look at.
// `assetgen --icons DIR` writes only the desktop icon, which is installed with the game but not read by it.
#include "app_icon.h"
#include "contact_sheet.h"
#include "effects.h"
#include "font_atlas.h"
#include "image.h"
#include "interface_art.h"
#include "screen_mockups.h"
#include "sky_box.h"
#include "sounds.h"
#include "terrain_modifiers.h"
#include "terrain_tiles.h"
#include "title_art.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

// Reports how long each group of assets took when a contact sheet is asked for (to keep the build quick).
class Stopwatch {
public:
    explicit Stopwatch(bool on) : enabled(on), last(std::chrono::steady_clock::now()) {}
    void lap(const char* what) {
        auto now = std::chrono::steady_clock::now();
        if (enabled) std::printf("assetgen: %-10s %6.0f ms\n", what, std::chrono::duration<double, std::milli>(now - last).count());
        last = now;
    }

private:
    bool enabled;
    std::chrono::steady_clock::time_point last;
};

// Writes files under the bin directory, counts failures and keeps thumbnails for the contact sheet.
class Output {
public:
    Output(const std::string& binDir, bool keepThumbnails) : bin(binDir), keep(keepThumbnails), failures(0) {}
    void png(const std::string& rel, const Image& img, bool alpha) { check(writePng(img, bin + "/" + rel, alpha), rel, img); }
    // For pictures stored differently from how they are seen: the sheet shows `shown`.
    void png(const std::string& rel, const Image& img, bool alpha, const Image& shown) {
        check(writePng(img, bin + "/" + rel, alpha), rel, shown);
    }
    void bmp(const std::string& rel, const Image& img) { check(writeBmp24(img, bin + "/" + rel), rel, img); }
    void wav(const std::string& rel, const std::vector<float>& s) {
        if (s.empty() || !writeWav(s, bin + "/" + rel)) fail(rel);
    }
    void fail(const std::string& what) {
        std::fprintf(stderr, "assetgen: could not write %s\n", what.c_str());
        ++failures;
    }
    int failed() const { return failures; }
    std::vector<std::pair<std::string, Image>> thumbnails;

private:
    void check(bool ok, const std::string& rel, const Image& img) {
        if (!ok) fail(rel);
        if (keep) {
            int big = std::max(img.width(), img.height());
            thumbnails.push_back(std::make_pair(rel, big > 256 ? img.resized(img.width() * 240 / big, img.height() * 240 / big) : img));
        }
    }
    std::string bin;
    bool keep;
    int failures;
};

// The pictures the contact sheet's mock-ups are put together from.
struct SheetParts {
    Image font, atlas, title, grass;
};

// Draws and writes every file of the game below out's directory; false if the font cannot be drawn
// (nothing else can be shown without it).
bool writeGameFiles(Output& out, Stopwatch& watch, SheetParts* parts, bool wantWaveforms) {
    std::string error;
    parts->font = makeFontAtlas(&error);
    if (parts->font.width() == 0) {
        std::fprintf(stderr, "assetgen: %s\n", error.c_str());
        return false;
    }
    out.bmp("textures/font/font.bmp", parts->font);
    watch.lap("font");
    parts->atlas = makeInterfaceAtlas();
    out.png("textures/other/interface.png", parts->atlas, true);
    watch.lap("interface");
    parts->title = makeTitlePicture(1024, &error);
    // The menu shows the picture's first row at the bottom, so it is stored upside down.
    if (parts->title.width() == 0) out.fail("textures/other/title.png (" + error + ")");
    else out.png("textures/other/title.png", parts->title.flipped(), true, parts->title);
    watch.lap("title");
    out.bmp("textures/other/selection.bmp", makeSelectionRing());
    out.png("textures/other/fx.png", makeEffectAtlas(), true);
    watch.lap("effects");
    for (int i = 0; i < 8; ++i) {
        Image surface, normals;
        makeTerrainTile(i, &surface, &normals);
        if (i == 3) parts->grass = surface;
        out.bmp("textures/terrain/" + std::to_string(i) + ".bmp", surface);
        out.bmp("textures/terrain/" + std::to_string(i) + "n.bmp", normals);
    }
    watch.lap("terrain");
    for (int k = 1; k <= 6; ++k) {
        out.bmp("textures/terrain/modifier64_" + std::to_string(k) + ".bmp", makeTerrainModifier(k, 64));
        out.bmp("textures/terrain/modifier128_" + std::to_string(k) + ".bmp", makeTerrainModifier(k, 128));
    }
    watch.lap("modifiers");
    for (int k = 1; k <= 12; ++k) out.bmp("textures/skybox/" + std::to_string(k) + ".bmp", makeSkyFace(k));
    watch.lap("sky");
    const char* sounds[4] = {"click", "attack", "splat", "crystal"};
    for (const char* s : sounds) {
        std::vector<float> samples = makeSound(s);
        out.wav(std::string("sounds/") + s + ".wav", samples);
        if (wantWaveforms)
            out.thumbnails.push_back(std::make_pair(std::string("sounds/") + s + ".wav (1 s)", waveformPicture(samples)));
    }
    watch.lap("sounds");
    return true;
}

// Writes the contact sheet and, beside it, the two screen mock-ups at full size.
bool writeSheet(Output& out, const SheetParts& parts, const std::string& sheetPath) {
    Image console = mockGameConsole(parts.atlas, parts.font, parts.grass);
    out.thumbnails.insert(out.thumbnails.begin(), std::make_pair(std::string("(game console)"), console.resized(256, 75)));
    if (!writePng(makeContactSheet(out.thumbnails, parts.font), sheetPath, false)) return false;
    std::string base = sheetPath.substr(0, sheetPath.rfind('/') + 1);
    writePng(console, base + "mock_console.png", false);
    if (parts.title.width() > 0) writePng(mockMainMenu(parts.atlas, parts.font, parts.title), base + "mock_menu.png", false);
    std::printf("assetgen: contact sheet written to %s (mock-ups beside it)\n", sheetPath.c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--icons") == 0) {
        if (writeAppIcons(argv[2])) return 0;
        std::fprintf(stderr, "assetgen: could not write the icons below %s\n", argv[2]);
        return 1;
    }
    std::string binDir, sheetPath;
    bool badArguments = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--contact-sheet") == 0 && i + 1 < argc) sheetPath = argv[++i];
        else if (binDir.empty()) binDir = argv[i];
        else badArguments = true;
    }
    if (binDir.empty() || badArguments) {
        std::fprintf(stderr, "usage: assetgen BIN_DIR [--contact-sheet OUT.png] | assetgen --icons DIR\n");
        return 2;
    }
    // Fail at once, not after a few seconds of drawing, when nothing can be written there.
    if (!makeDirectories(binDir + "/textures") || !makeDirectories(binDir + "/sounds")) {
        std::fprintf(stderr, "assetgen: cannot write below %s\n", binDir.c_str());
        return 1;
    }
    bool sheet = !sheetPath.empty();
    Output out(binDir, sheet);
    Stopwatch watch(sheet);
    SheetParts parts;
    if (!writeGameFiles(out, watch, &parts, sheet)) return 1;
    if (sheet && !writeSheet(out, parts, sheetPath)) out.fail(sheetPath);
    return out.failed() == 0 ? 0 : 1;
}
