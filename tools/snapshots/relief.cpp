// Measures how much fine relief the ground shows: renders the opening match view (1024 x 768, looking at
// (15, 15), pitch -40) at camera distances 10 and 14.5 on both tile sets, first with the fog of three
// starting workers, then clear; writes relief_<set>_<fog|clear>_<distance>_<variant>.png into DIR and prints
// the fine detail of each picture: the mean absolute difference between a pixel's brightness and the mean
// of its 3 x 3 neighbourhood.
// Every further argument is a terrain shader base name to compare on the same maps (default: the game's
// own); each variant is named by its argument's last path part. Run from bin/ under Xvfb:
//   ../build/tools/snapshots/snapshot_relief ../out ../shader/terrain /tmp/old/terrain

#include <GL/glew.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "read_back.h"
#include "render/frustum.h"
#include "render/matrix_stack.h"
#include "render/shader.h"
#include "scene/terrain.h"
#include "support/gl_test.h"
#include "support/png_snapshot.h"

namespace {

const int kWidth = 1024;
const int kHeight = 768;

// Mean |brightness - 3 x 3 mean| over the inner pixels of a bottom-up RGBA picture.
double fineDetail(const std::vector<unsigned char>& rgba) {
    std::vector<double> lum(kWidth * kHeight);
    for (int i = 0; i < kWidth * kHeight; ++i) {
        lum[i] = 0.299 * rgba[i * 4] + 0.587 * rgba[i * 4 + 1] + 0.114 * rgba[i * 4 + 2];
    }
    double sum = 0.0;
    for (int y = 1; y < kHeight - 1; ++y) {
        for (int x = 1; x < kWidth - 1; ++x) {
            double mean = 0.0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    mean += lum[(y + dy) * kWidth + x + dx];
                }
            }
            sum += std::fabs(lum[y * kWidth + x] - mean / 9.0);
        }
    }
    return sum / ((double)(kWidth - 2) * (kHeight - 2));
}

// Puts another terrain program in place of the terrain's own, with its attributes and samplers wired
// the way the terrain sets up its own program.
void useShader(Terrain* terrain, const std::string& baseName) {
    delete terrain->shader;
    terrain->shader = new Shader(baseName);
    Shader* shader = terrain->shader;
    glBindVertexArray(terrain->vertexArray);
    shader->bind();
    const char* attributes[2] = {"vertex", "normal"};
    GLuint buffers[2] = {terrain->positionBuffer, terrain->normalBuffer};
    for (int i = 0; i < 2; ++i) {
        GLint location = shader->attribute(attributes[i]);
        if (location >= 0) {
            glBindBuffer(GL_ARRAY_BUFFER, buffers[i]);
            glVertexAttribPointer(location, 3, GL_FLOAT, GL_FALSE, 0, 0);
            glEnableVertexAttribArray(location);
        }
    }
    const char* samplers[10] = {"terrain0", "terrain1", "terrain2", "terrain3", "normal0",
                                "normal1",  "normal2",  "normal3",  "alpha",    "fow"};
    for (int i = 0; i < 10; ++i) {
        glUniform1i(shader->uniform(samplers[i]), i);
    }
    glUniform1f(shader->uniform("mapsize"), (float)terrain->size);
    Shader::unbind();
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

// The opening camera at distance d and one frame of the terrain, read back.
std::vector<unsigned char> render(Terrain* terrain, float d) {
    float lookX = 15.0f, lookY = 15.0f, pitch = -40.0f;
    MatrixStack modelview(4);
    MatrixStack projection;
    modelview.translate(0.0f, 0.0f, -d);
    modelview.rotate(pitch, 1.0f, 0.0f, 0.0f);
    modelview.translate(-lookX, -lookY, -terrain->height(lookX, lookY));
    projection.perspective(45.0f, (float)kWidth / (float)kHeight, 0.1f, 250.0f);
    Frustum frustum;
    frustum.extract(projection, modelview);
    glViewport(0, 0, kWidth, kHeight);
    glClearColor(0.2f, 0.2f, 1.0f, 0.0f);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    terrain->draw(&modelview, &projection, &frustum);
    return readOpaquePixels(kWidth, kHeight);
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir = argc > 1 ? argv[1] : "../out";
    std::vector<std::string> variants;
    for (int i = 2; i < argc; ++i) {
        variants.push_back(argv[i]);
    }
    if (variants.empty()) {
        variants.push_back("..\\shader\\terrain");
    }
    if (!ensureGlContext()) {
        std::fprintf(stderr, "no OpenGL 3.2 context\n");
        return 1;
    }
    OffscreenTarget target;
    if (!target.make(kWidth, kHeight)) {
        std::fprintf(stderr, "no offscreen target\n");
        return 1;
    }
    const char* names[2] = {"grass", "asteroid"};
    const float distances[2] = {14.5f, 10.0f};
    for (int tileSet = 0; tileSet < 2; ++tileSet) {
        Terrain* terrain = new Terrain(64, tileSet);
        for (size_t v = 0; v < variants.size(); ++v) {
            useShader(terrain, variants[v]);
            std::string variant = variants[v].substr(variants[v].find_last_of("/\\") + 1);
            for (int k = 0; k < 4; ++k) {
                // First with the starting fog, then with the fog switched off.
                terrain->fogDisabled = k >= 2;
                terrain->resetFog();
                terrain->revealFog(14.0f, 14.0f);
                terrain->revealFog(15.0f, 15.0f);
                terrain->revealFog(16.0f, 16.0f);
                const char* fog = k >= 2 ? "clear" : "fog";
                float d = distances[k % 2];
                std::vector<unsigned char> pixels = render(terrain, d);
                char path[512];
                std::snprintf(path, sizeof path, "%s/relief_%s_%s_%g_%s.png", dir.c_str(), names[tileSet], fog, d,
                              variant.c_str());
                writePngBottomUp(path, kWidth, kHeight, pixels);
                std::printf("%-9s %-5s d=%-5g %-12s fine detail %.2f\n", names[tileSet], fog, d, variant.c_str(),
                            fineDetail(pixels));
            }
        }
        delete terrain;
    }
    target.release();
    return 0;
}
