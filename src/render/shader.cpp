#include "render/shader.h"

#include <fstream>
#include <iostream>

#include "render/asset_path.h"
#include "render/gl_error.h"

namespace {

// Reads a whole text file; CR LF line ends arrive as LF, as a text-mode read gives them on Windows.
bool readFile(const std::string& path, std::string& out) {
    std::ifstream file(assetPath(path).c_str());
    if (!file.is_open()) {
        return false;
    }
    out.clear();
    char c;
    while (file.get(c)) {
        if (c == '\n' && !out.empty() && out[out.size() - 1] == '\r') {
            out[out.size() - 1] = '\n';
        } else {
            out += c;
        }
    }
    return true;
}

const int kLogSize = 8096;

// Prints a shader's or a program's info log (getLog says which) and a line end; an empty log prints nothing.
void printLog(GLuint object, PFNGLGETSHADERINFOLOGPROC getLog) {
    char log[kLogSize];
    GLsizei length = 0;
    getLog(object, kLogSize, &length, log);
    if (length >= 1) {
        std::cout << std::string(log, length) << std::endl;
    }
}

}  // namespace

// Loads NAME.vert and NAME.frag, compiles and links; a missing .vert never looks for the .frag.
Shader::Shader(std::string baseName)
    : valid(false), vertexShader(0), fragmentShader(0), program(0) {
    std::string vertexPath = baseName + ".vert";
    std::string fragmentPath = baseName + ".frag";
    if (!readFile(vertexPath, vertexSource)) {
        std::cerr << "Vertex shader file " << vertexPath << " does not exist." << std::endl;
        return;
    }
    if (!readFile(fragmentPath, fragmentSource)) {
        std::cerr << "Fragment shader file " << fragmentPath << " does not exist." << std::endl;
        return;
    }
    vertexShader = compile(GL_VERTEX_SHADER, vertexSource);
    if (vertexShader == 0) {
        return;
    }
    checkGlError();
    fragmentShader = compile(GL_FRAGMENT_SHADER, fragmentSource);
    if (fragmentShader == 0) {
        return;
    }
    checkGlError();
    link();
    if (program != 0) {
        valid = true;
        checkGlError();
    }
}

// Program first, then the two stages; deleting name 0 does nothing.
Shader::~Shader() {
    glDeleteProgram(program);
    glDeleteShader(vertexShader);
    glDeleteShader(fragmentShader);
}

// Returns the shader object also when compiling failed: linking then fails and says so.
GLuint Shader::compile(GLenum type, const std::string& source) {
    GLuint s = glCreateShader(type);
    if (s == 0) {
        std::cerr << "Could not create shader object." << std::endl;
        return 0;
    }
    const GLchar* text = source.data();
    GLint length = (GLint)source.size();
    glShaderSource(s, 1, &text, &length);
    glCompileShader(s);
    GLint status = GL_FALSE;
    glGetShaderiv(s, GL_COMPILE_STATUS, &status);
    if (status != GL_TRUE) {
        std::cout << "Shader compilation failed." << std::endl;
        printLog(s, glGetShaderInfoLog);
    }
    checkGlError();
    return s;
}

// A failed link deletes the program and leaves program 0; the stages stay until the destructor.
void Shader::link() {
    program = glCreateProgram();
    glAttachShader(program, vertexShader);
    glAttachShader(program, fragmentShader);
    glLinkProgram(program);
    GLint status = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    if (status != GL_TRUE) {
        std::cout << "Shader linking failed." << std::endl;
        printLog(program, glGetProgramInfoLog);
        glDeleteProgram(program);
        program = 0;
    }
    checkGlError();
}

// Binds program 0 when loading failed, so nothing draws.
void Shader::bind() {
    glUseProgram(program);
}

// Leaves no program bound.
void Shader::unbind() {
    glUseProgram(0);
}

// Program 0 is not a program object; asking it would raise GL_INVALID_VALUE.
GLint Shader::attribute(std::string name) {
    if (program == 0) {
        return -1;
    }
    return glGetAttribLocation(program, name.c_str());
}

// Same rule as attribute.
GLint Shader::uniform(std::string name) {
    if (program == 0) {
        return -1;
    }
    return glGetUniformLocation(program, name.c_str());
}
