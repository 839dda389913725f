#ifndef GELMARCH_GAME_UNIT_MANAGER_H
#define GELMARCH_GAME_UNIT_MANAGER_H

#include <vector>

#include "game/player_state.h"
#include "render/texture.h"

class BlobMesh;
class Crystal;
class Frustum;
class MatrixStack;
class Projectile;
class Shader;
class SpatialIndex;
class Terrain;
class Unit;
class UnitTemplate;

// Economy constants shared by the orders, the mining and the computer players.
const int kSplitPrice = 50;
const float kMiningRate = 0.002f;       // crystals per millisecond and mining Blob
const float kBoostMiningExtra = 0.018f; // the human's extra rate in boost mode (ten times in all)
const float kMiningReach = 3.25f;       // 2D distance between a Blob and its crystal
const float kCrystalAmount = 2500.0f;
const int kPlayerCount = 4;
const int kGroupCount = 9;

// The whole simulation of one match: unit types, units, projectiles, crystals, selection, control
// groups, the players' accounts and the computer players. Owns the units' drawing resources too.
// Members are defined across unit_manager.cpp (construction, lookup, selection, groups), orders.cpp,
// movement.cpp, combat.cpp, economy.cpp and computer_players.cpp.
class UnitManager {
public:
    BlobMesh* blobMesh;
    PlayerState players[kPlayerCount];
    std::vector<UnitTemplate*> templates;
    std::vector<Unit*> units;
    std::vector<Unit*> selection;
    std::vector<Unit*> groups[kGroupCount];
    std::vector<Projectile*> projectiles;
    std::vector<Crystal*> crystals;
    std::vector<Unit*> dyingUnits;
    int gameResult;  // 0 running, 1 the human lost, 2 the human won
    int gameTime;
    bool boostMode;
    bool showTargetLines;
    int difficulty;
    Terrain* terrain;
    Shader* textureShader;
    Shader* monocolorShader;
    Shader* texture2Shader;
    Texture selectionTexture;
    Texture fxTexture;
    int mapSize;
    int frameTime;
    bool frustumCulling;
    // Where the units stand, so that pushing and target search look only nearby. Rebuilt at the start of
    // every update and kept current through it.
    SpatialIndex* unitIndex;

    // Needs a current GL context (mesh, shaders, textures). Draws the crystal field from rand().
    UnitManager(Terrain* terrain, int mapSize);
    ~UnitManager();

    // Anisotropic filtering of the selection ring texture (texture unit 0).
    void setAnisotropy(float value);

    // --- units, lookup, selection, groups (unit_manager.cpp)
    Unit* createUnit(int type, float x, float y, float z, int player);
    Unit* unitAt(float x, float y, float z) const;
    Crystal* crystalAt(float x, float y, float z) const;
    void clickSelect(float x, float y, float z, bool additive);
    void boxSelect(float x1, float y1, float x2, float y2, const Frustum& frustum, bool additive);
    void storeGroup(int n);
    void recallGroup(int n);
    float distanceToDestination(const Unit* u) const;

    // --- orders (orders.cpp); true only for an accepted Move or AttackMove
    bool order(Unit* u, int code, void* arg);
    bool orderSelection(int code, void* arg);
    void commandAt(float point[3]);

    // --- one frame (movement.cpp); true when the command panel must be rebuilt
    bool update(int dt);
    // Between frames: positions may have been written by hand, so the unit index is rebuilt first.
    void moveUnit(Unit* u, const float* from, const float* to, int depth);

    // --- economy (economy.cpp)
    void createCrystalField();
    Crystal* nearestCrystal(float x, float y, float z) const;

    // --- computer players and the outcome (computer_players.cpp); once per wall-clock second
    void thinkComputerPlayers();

    // --- drawing (scene/unit_drawing.cpp, scene/effect_drawing.cpp); 3D passes after the terrain
    // Dying units, living units back to front, crystals with their glow, then the rings and lines over
    // them. Also advances the projectile trails and the crystals' glow, once per frame whatever is seen.
    // The frustum must be extracted for this frame. Leaves culling on, blending off, texture unit 0 active.
    void drawUnits(MatrixStack* modelview, MatrixStack* projection, Frustum* frustum);
    // Additive mining and attack beams and the trail particles, from the effect atlas; after drawUnits.
    void drawEffects(MatrixStack* modelview, MatrixStack* projection);
    // A line with the monocolor shader: green for colour <= 0 (own), red above.
    void drawLine(float x1, float y1, float z1, float x2, float y2, float z2, MatrixStack* modelview,
                  MatrixStack* projection, Shader* shader, int colour, float alpha);
    // A flat ring of the given radius centred at (x, y, z), sampled from the texture on unit 0. Codes:
    // 0 own, 1..3 enemy, +4 fainter (hover), 8 magenta (crystal), 9 violet.
    void drawRing(float x, float y, float z, float radius, MatrixStack* modelview, MatrixStack* projection,
                  Shader* shader, int colourCode);
    // One trail particle: three crossed squares of atlas frame 0..3; colour 0xRRGGBBAA, alpha times fade.
    void drawParticle(const float* position, int frame, unsigned int colour, float fade, MatrixStack* modelview,
                      MatrixStack* projection, Shader* shader);
    // A beam of crossed ribbons from `from` to `to`, atlas row `frame`, its texture moved along by scroll.
    void drawBeam(const float* from, const float* to, MatrixStack* modelview, MatrixStack* projection,
                  Shader* shader, float scroll, float halfWidth, unsigned int colour, int frame);
    // Sort order of the living units: farther from the near plane first.
    static bool compareDepth(Unit* a, Unit* b);

    // The few vertices of every ring, line, beam and particle pass through this one vertex array and
    // buffer (a core profile has no client-side arrays). Made on the first draw, released with the manager.
    struct StreamGeometry {
        GLuint vertexArray;
        GLuint buffer;
        StreamGeometry();
        ~StreamGeometry();
        // Binds the shader, feeds `count` points (3 floats) to "vertex" and, unless texcoords is null,
        // 2 floats each to "texcoord", uploads "projection", "modelview" and "tint", and draws the points
        // as primitives of `mode`, `run` points each. Leaves no shader, array or buffer bound. A shader that
        // failed to load draws nothing.
        void draw(Shader* shader, MatrixStack* modelview, MatrixStack* projection, const float tint[4],
                  GLenum mode, const float* vertices, const float* texcoords, int count, int run);

    private:
        StreamGeometry(const StreamGeometry&);
        StreamGeometry& operator=(const StreamGeometry&);
    };
    StreamGeometry markerStream;

private:
    // movement.cpp; `slot` is the unit's index in `units`, which the unit index files it under
    void moveSlot(Unit* u, int slot, const float* from, const float* to, int depth);
    void stepTowardsDestination(int slot, int dt);
    void stepTowards(int slot, float x, float y, int dt);
    float clampToMap(float v) const;
    // orders.cpp
    bool orderMove(Unit* u, const float* p);
    bool orderAttackMove(Unit* u, const float* p);
    bool canFight(const Unit* u) const;
    // combat.cpp
    void acquireTarget(Unit* s);
    void attack(Unit* s, Unit* t);
    void updateAttack(int slot, int dt);
    void updateProjectiles(int dt);
    void removeDeadUnits(bool& changed);
    void sinkDyingUnits();
    void forgetUnit(Unit* gone);
    // economy.cpp
    bool orderSplit(Unit* u);
    bool orderMorph(Unit* u, int slot);
    bool orderMine(Unit* u, Crystal* c);
    void refund(Unit* u);
    void updateMining(int slot, int dt);
    void updateSplit(int slot, bool& changed);
    void updateMorph(Unit* u, bool& changed);

    // Candidate slots of the scans in progress, one list per push depth (the target search uses the first).
    std::vector<int> nearby[5];
    float largestSize;  // of all types: how far from a path a unit it must give way to can stand

    UnitManager(const UnitManager&);
    UnitManager& operator=(const UnitManager&);
};

#endif
