#ifndef GELMARCH_RENDER_GL_ERROR_H
#define GELMARCH_RENDER_GL_ERROR_H

// Reads the GL error flag once and prints at most one line on stderr; further errors stay queued.
void checkGlError();

#endif
