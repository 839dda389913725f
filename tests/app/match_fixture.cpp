#include "match_fixture.h"

#include <GL/glew.h>

#include "app/sound.h"
#include "render/font.h"

World* MatchTest::world = 0;
GameLoop* MatchTest::loop = 0;

void MatchTest::SetUp() {
    GlTest::SetUp();
    gScreenWidth = 640;
    gScreenHeight = 480;
    if (!world) {
        gFont = gFont ? gFont : new Font();
        world = new World(64, 0, 0, 0);
        createCommandPanel(world->canvas);
        loop = new GameLoop();
        openSounds();
    }
    gWorld = world;
    for (Unit* u : world->unitManager->units) {
        u->type = kBlob;
        u->state = kIdle;
        u->target = 0;
    }
    world->unitManager->selection.clear();
    world->unitManager->players[0].towerCount = 0;
    world->setCameraPosition(-15.0f, -15.0f);
    world->cameraPitch = -40.0f;
    world->cameraYaw = 0.0f;
    world->cameraDistance = 14.5f;
    gCommandMode = 0;
    gMouseX = 320;
    gMouseY = 240;
    loop->quit = loop->panRotating = loop->selecting = loop->minimapDragging = loop->overMinimap = loop->overGui = false;
    std::memset(loop->keyDown, 0, sizeof(loop->keyDown));
    rebuildCommandPanel();
}

void MatchTest::TearDownTestSuite() {
    closeSounds();
    delete loop;
    loop = 0;
    if (world) {
        destroyCommandPanel();
        delete world;
        gWorld = world = 0;
    }
}

Unit* MatchTest::worker(int player, int i) {
    for (Unit* u : world->unitManager->units) {
        if (u->player == player && i-- == 0) {
            return u;
        }
    }
    return 0;
}

std::vector<unsigned char> MatchTest::drawAndRead(int x, int y, int w, int h) {
    glViewport(0, 0, 640, 480);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    world->draw(false);
    std::vector<unsigned char> rgba(w * h * 4);
    glReadPixels(x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

SDL_Event motionEvent(int x, int y, int dx, int dy) {
    SDL_Event e = SDL_Event();
    e.motion = {SDL_MOUSEMOTION, 0, 0, (Uint16)x, (Uint16)y, (Sint16)dx, (Sint16)dy};
    return e;
}

SDL_Event buttonEvent(bool down, int button, int x, int y) {
    SDL_Event e = SDL_Event();
    e.button = {(Uint8)(down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP), 0, (Uint8)button,
                (Uint8)(down ? SDL_PRESSED : SDL_RELEASED), (Uint16)x, (Uint16)y};
    return e;
}

SDL_Event keyEvent(bool down, SDLKey symbol) {
    SDL_Event e = SDL_Event();
    e.key = {(Uint8)(down ? SDL_KEYDOWN : SDL_KEYUP), 0, (Uint8)(down ? SDL_PRESSED : SDL_RELEASED), {0, symbol, KMOD_NONE, 0}};
    return e;
}
