#ifndef GELMARCH_APP_WORLD_H
#define GELMARCH_APP_WORLD_H

#include <GL/glew.h>

class Canvas;
class Frustum;
class MatrixStack;
class Shader;
class Terrain;
class UnitManager;

// One match: the terrain, the 3D view (matrix stacks, frustum, camera), the 2D canvas with the GUI
// controls, the render options, the sky box and the unit manager with the whole simulation. The game loop
// creates it on the stack when a match starts; gWorld points at it while it lives.
// Members are defined in world.cpp (set-up, camera position, update, the option switches) and
// world_drawing.cpp (the view matrices and the frame's drawing).
class World {
public:
    Terrain* terrain;
    MatrixStack* modelview;
    MatrixStack* projection;
    MatrixStack* hudProjection;
    MatrixStack* skyRotation;
    Frustum* frustum;
    float cameraX, cameraY, cameraZ;  // negated look-at point and its negated ground height
    float cameraPitch;                // degrees, -40 (oblique) .. -130
    float cameraYaw;                  // degrees about the vertical axis
    float cameraDistance;             // eye to look-at point; the wheel keeps it within about 9.8 .. 14.5
    Canvas* canvas;
    UnitManager* unitManager;
    bool showInfo;
    bool frustumCulling;
    int anisotropy;
    bool linearFilter;
    bool mipmapping;
    bool rotating;
    bool showLifeBars;
    bool wireframe;
    int mapSize;
    GLuint skyTextures[6];
    Shader* skyShader;
    GLuint skyVertexArray;
    GLuint skyVertexBuffer;

    // Needs a current GL context. Builds the terrain (seeding rand()), the crystal field, three workers
    // per player and the sky of the tile set; the camera starts over the human's base.
    World(int mapSize, int numEnemies, int difficulty, int tileSet);
    ~World();

    // Clamps to [8 - mapSize, -8] on both axes and follows the ground height there.
    void setCameraPosition(float x, float y);
    // Fog of war, hidden flags, selection clean-up, then one simulation step of dt milliseconds.
    // True when the command panel has to be rebuilt.
    bool update(int dt);

    // Camera, sky, terrain, units and effects, then the 2D layer (HUD, panel, texts, pointer).
    // `selecting` draws the selection rectangle of a drag under way.
    void draw(bool selecting);
    // Fills the four matrix stacks from the camera.
    void buildViewMatrices();
    // The sky box under skyRotation and projection (a 3D pass).
    void drawSky();

    // Render option switches: F2, F4, F5, F7, F8.
    void toggleInfo();
    void toggleLinearFilter();
    void toggleMipmapping();
    void cycleAnisotropy();
    void toggleFrustumCulling();

private:
    World(const World&);
    World& operator=(const World&);
};

#endif
