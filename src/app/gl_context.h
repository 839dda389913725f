#ifndef GELMARCH_APP_GL_CONTEXT_H
#define GELMARCH_APP_GL_CONTEXT_H

// Replaces SDL's legacy context with a forward-compatible OpenGL 3.2 one on the same X11 window and
// makes it current. Prints "No OpenGL 3.2 context available" or "ERROR: could not create rendering
// context" on stderr when that cannot be done; returns whether the new context is current.
bool createCoreContext();

// Shows the frame drawn with the current context. SDL_GL_SwapBuffers swaps SDL's own legacy context on its
// separate display connection, whose drawable the new context never draws into: the window stayed black.
void swapCoreContext();

#endif
