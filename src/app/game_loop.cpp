#include "app/game_loop.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <cmath>
#include <cstring>

#include "app/camera.h"
#include "app/command_panel.h"
#include "app/gl_context.h"
#include "app/globals.h"
#include "app/world.h"
#include "game/crystal.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "render/canvas.h"
#include "render/matrix_stack.h"
#include "scene/blob_mesh.h"
#include "scene/terrain.h"

// The World lives on this stack frame; the panel's controls are deleted before it.
void runGame() {
    World world(gMapSize, gNumEnemies, gDifficulty, gTileSet);
    gWorld = &world;
    createCommandPanel(world.canvas);
    rebuildCommandPanel();
    GameLoop loop;
    while (!loop.quit) {
        loop.frame();
    }
    destroyCommandPanel();
    gWorld = 0;
}

// Starts the clocks now, so the first frame's dt is the time since the match was built.
GameLoop::GameLoop()
    : quit(false), panRotating(false), selecting(false), minimapDragging(false), overMinimap(false),
      overGui(false), fpsStart(SDL_GetTicks()), previous(fpsStart), now(0), frames(0) {
    std::memset(keyDown, 0, sizeof(keyDown));
}

// The quit flag is only looked at by the caller, so the frame in which Escape arrives is completed.
void GameLoop::frame() {
    stepAndDraw();
    showAndPick();
}

// Sleeps until the clock has moved on since the last frame, so dt is at least 1 ms; no other frame limit.
void GameLoop::stepAndDraw() {
    while (now <= previous) {
        SDL_Delay(1);
        now = SDL_GetTicks();
    }
    int dt = (int)(now - previous);
    previous = now;

    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        handleEvent(event);
    }
    moveCamera(dt);
    if (gWorld->update(dt)) {
        rebuildCommandPanel();
    }

    glViewport(0, 0, gScreenWidth, gScreenHeight);
    if (gTileSet == 0) {
        glClearColor(0.2f, 0.2f, 1.0f, 0.0f);
    } else {
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glClearDepth(1.0);
    glDepthFunc(GL_LEQUAL);
    gWorld->draw(selecting);
}

// The pick reads the depth of the frame just drawn.
void GameLoop::showAndPick() {
    swapCoreContext();
    pick();

    // The computer players decide once per wall-clock second, together with the fps count.
    ++frames;
    if (SDL_GetTicks() - fpsStart >= 1000u) {
        fpsStart = SDL_GetTicks();
        gFps = frames;
        frames = 0;
        gWorld->unitManager->thinkComputerPlayers();
    }
}

// Keys, mouse, close and resize; everything else is ignored.
void GameLoop::handleEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_KEYDOWN:
        if (event.key.keysym.sym < 512) {
            keyDown[event.key.keysym.sym] = 1;
        }
        keyPressed(event.key.keysym.sym);
        break;
    case SDL_KEYUP:
        if (event.key.keysym.sym < 512) {
            keyDown[event.key.keysym.sym] = 0;
        }
        break;
    case SDL_MOUSEMOTION:
        mouseMoved(event.motion);
        break;
    case SDL_MOUSEBUTTONDOWN:
        buttonPressed(event.button);
        break;
    case SDL_MOUSEBUTTONUP:
        buttonReleased(event.button);
        break;
    case SDL_QUIT:
        quit = true;
        break;
    case SDL_VIDEORESIZE:
        // The panel buttons keep their places; only the view follows the new size.
        glViewport(0, 0, event.resize.w, event.resize.h);
        gScreenWidth = event.resize.w;
        gScreenHeight = event.resize.h;
        break;
    default:
        break;
    }
}

// Edge scrolling pauses while the camera is turned or a selection box is dragged.
void GameLoop::moveCamera(int dt) {
    World& world = *gWorld;
    if (!panRotating && !selecting) {
        bool right = gMouseX >= gScreenWidth - 4 || keyDown[SDLK_RIGHT];
        bool left = gMouseX < 4 || keyDown[SDLK_LEFT];
        bool up = gMouseY < 4 || keyDown[SDLK_UP];
        bool down = gMouseY >= gScreenHeight - 4 || keyDown[SDLK_DOWN];
        scrollCamera(world, dt, right, left, up, down);
    }
    if (!panRotating) {
        springBackCamera(world, dt);
    }
}

// One depth value under the pointer, unprojected with the matrices of the frame just drawn.
void GameLoop::pick() {
    if (overMinimap) {
        return;
    }
    GLdouble modelview[16];
    GLdouble projection[16];
    for (int i = 0; i < 16; ++i) {
        modelview[i] = gWorld->modelview->current.m[i];
        projection[i] = gWorld->projection->current.m[i];
    }
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLfloat depth = 1.0f;
    GLdouble wx = (GLdouble)gMouseX;
    GLdouble wy = (GLdouble)(gScreenHeight - gMouseY);
    glReadPixels(gMouseX, gScreenHeight - gMouseY, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    GLdouble x = 0.0, y = 0.0, z = 0.0;
    gluUnProject(wx, wy, (GLdouble)depth, modelview, projection, viewport, &x, &y, &z);
    gPickPoint[0] = (float)x;
    gPickPoint[1] = (float)y;
    gPickPoint[2] = (float)z;
}

// Render options, command hotkeys and control groups.
void GameLoop::keyPressed(int symbol) {
    World& world = *gWorld;
    UnitManager* m = world.unitManager;
    if (symbol >= SDLK_1 && symbol <= SDLK_9) {
        int n = symbol - SDLK_1;
        if (keyDown[SDLK_LCTRL] || keyDown[SDLK_RCTRL]) {
            m->storeGroup(n);
        } else {
            m->recallGroup(n);
        }
        rebuildCommandPanel();
        return;
    }
    switch (symbol) {
    case SDLK_ESCAPE: quit = true; break;
    case SDLK_TAB: world.showLifeBars = !world.showLifeBars; break;
    case SDLK_q: runCommand(0); break;
    case SDLK_w: runCommand(1); break;
    case SDLK_e: runCommand(2); break;
    case SDLK_a: runCommand(3); break;
    case SDLK_d: runCommand(5); break;
    case SDLK_z: runCommand(6); break;
    case SDLK_x: runCommand(7); break;
    case SDLK_c: runCommand(8); break;
    case SDLK_F2: world.toggleInfo(); break;
    case SDLK_F3: world.wireframe = !world.wireframe; break;
    case SDLK_F4: world.toggleLinearFilter(); break;
    case SDLK_F5: world.toggleMipmapping(); break;
    case SDLK_F6: m->showTargetLines = !m->showTargetLines; break;
    case SDLK_F7: world.cycleAnisotropy(); break;
    case SDLK_F8: world.toggleFrustumCulling(); break;
    case SDLK_F9: m->blobMesh->transparent = !m->blobMesh->transparent; break;
    case SDLK_F10:
        // Not named anywhere on screen: a faster economy for the human and no fog.
        m->boostMode = !m->boostMode;
        world.terrain->fogDisabled = !world.terrain->fogDisabled;
        break;
    default: break;
    }
}

// Hover for the controls, camera turning or minimap dragging, and the minimap pick.
void GameLoop::mouseMoved(const SDL_MouseMotionEvent& motion) {
    World& world = *gWorld;
    int x = motion.x;
    int y = gScreenHeight - motion.y;
    overMinimap = false;
    gMouseX = motion.x;
    gMouseY = motion.y;
    overGui = selecting ? false : world.canvas->mouseMove((float)x, (float)y);
    if (panRotating) {
        turnCamera(world, motion.xrel, motion.yrel);
    } else if (minimapDragging) {
        world.setCameraPosition(-minimapToMap(x, world.mapSize), -minimapToMap(y, world.mapSize));
    } else if (insideMinimap(x, y) && !selecting) {
        float px = minimapToMap(x, world.mapSize);
        float py = minimapToMap(y, world.mapSize);
        gPickPoint[0] = px;
        gPickPoint[1] = py;
        gPickPoint[2] = world.terrain->height(px, py);
        overMinimap = true;
    }
}

// Controls first, then the minimap, then the start of a selection drag; a pending command waits for release.
void GameLoop::buttonPressed(const SDL_MouseButtonEvent& button) {
    World& world = *gWorld;
    int x = button.x;
    int y = gScreenHeight - button.y;
    switch (button.button) {
    case SDL_BUTTON_LEFT:
        if (world.canvas->mouseClick((float)x, (float)y)) {
            break;
        }
        if (insideMinimap(x, y) && gCommandMode == 0) {
            world.setCameraPosition(-minimapToMap(x, world.mapSize), -minimapToMap(y, world.mapSize));
            minimapDragging = true;
        } else if (gCommandMode == 0) {
            for (int i = 0; i < 3; ++i) {
                gDragStartPoint[i] = gPickPoint[i];
            }
            gDragStartX = x;
            gDragStartY = y;
            selecting = true;
        }
        break;
    case SDL_BUTTON_MIDDLE:
        panRotating = true;
        world.rotating = true;
        break;
    case SDL_BUTTON_WHEELUP:
        zoomCamera(world, true);
        break;
    case SDL_BUTTON_WHEELDOWN:
        zoomCamera(world, false);
        break;
    default:
        break;
    }
}

// Any release ends turning and minimap dragging; left selects or completes a command, right orders.
void GameLoop::buttonReleased(const SDL_MouseButtonEvent& button) {
    panRotating = false;
    gWorld->rotating = false;
    minimapDragging = false;
    if (button.button == SDL_BUTTON_LEFT) {
        if (!overGui && (!overMinimap || gCommandMode != 0)) {
            leftReleased();
        }
    } else if (button.button == SDL_BUTTON_RIGHT) {
        gWorld->unitManager->commandAt(gPickPoint);
        gCommandMode = 0;
    }
}

// A short drag is a click; a pending command is aimed at the pick point.
void GameLoop::leftReleased() {
    UnitManager* m = gWorld->unitManager;
    bool additive = keyDown[SDLK_LSHIFT] != 0;
    switch (gCommandMode) {
    case 0: {
        float dx = gPickPoint[0] - gDragStartPoint[0];
        float dy = gPickPoint[1] - gDragStartPoint[1];
        float d = sqrtf(dx * dx + dy * dy);
        if (d > 0.3f && selecting) {
            m->boxSelect((float)gDragStartX, (float)gDragStartY, (float)gMouseX, (float)(gScreenHeight - gMouseY),
                         *gWorld->frustum, additive);
        } else {
            m->clickSelect(gPickPoint[0], gPickPoint[1], gPickPoint[2], additive);
        }
        rebuildCommandPanel();
        selecting = false;
        break;
    }
    case 1:
        m->orderSelection(kMove, gPickPoint);
        gCommandMode = 0;
        break;
    case 2: {
        Unit* u = m->unitAt(gPickPoint[0], gPickPoint[1], gPickPoint[2]);
        if (u) {
            m->orderSelection(kAttack, u);
        } else {
            m->orderSelection(kAttackMove, gPickPoint);
        }
        gCommandMode = 0;
        break;
    }
    case 3: {
        Crystal* c = m->crystalAt(gPickPoint[0], gPickPoint[1], gPickPoint[2]);
        if (!c) {
            c = m->nearestCrystal(gPickPoint[0], gPickPoint[1], gPickPoint[2]);
        }
        if (c) {
            m->orderSelection(kMine, c);
        }
        gCommandMode = 0;
        break;
    }
    default:
        break;
    }
}
