#include "render/gl_error.h"

#include <GL/glew.h>

#include <iostream>

void checkGlError() {
    GLenum error = glGetError();
    if (error == GL_NO_ERROR) {
        return;
    }
    const char* message = "GL: Unknown error.";
    switch (error) {
    case GL_INVALID_ENUM: message = "GL: enum argument out of range."; break;
    case GL_INVALID_VALUE: message = "GL: Numeric argument out of range."; break;
    case GL_INVALID_OPERATION: message = "GL: Operation illegal in current state."; break;
    case GL_OUT_OF_MEMORY: message = "GL: Not enough memory left to execute command."; break;
    case GL_INVALID_FRAMEBUFFER_OPERATION: message = "GL: Framebuffer object is not complete."; break;
    default: break;
    }
    std::cerr << message << std::endl;
}
