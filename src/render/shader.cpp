#include "render/shader.h"

#include <fstream>
#include <iostream>

#include "render/asset_path.h"
#include "render/gl_error.h"

namespace {

bool readFile(const std::string& path, std::string& out) {
    std::ifstream file(assetPath(path).c_str());
    if (!file.is_open()) {
        return false;
    }
    out.clear();
    char c;
    while (file.get(c)) {
        out += c;
    }
    return true;
}

const int kLogSize = 8096;

void printShaderLog(GLuint shader) {
    char log[kLogSize];
    GLsizei length = 0;
    glGetShaderInfoLog(shader, kLogSize, &length, log);
    if (length >= 1) {
        std::cout << std::string(log, length) << std::endl;
    }
}

void printProgramLog(GLuint program) {
    char log[kLogSize];
    GLsizei length = 0;
    glGetProgramInfoLog(program, kLogSize, &length, log);
    if (length >= 1) {
        std::cout << std::string(log, length) << std::endl;
    }
}

}  // namespace

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

Shader::~Shader() {
    glDeleteProgram(program);
    glDeleteShader(vertexShader);
    glDeleteShader(fragmentShader);
}

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
        printShaderLog(s);
    }
    checkGlError();
    return s;
}

void Shader::link() {
    program = glCreateProgram();
    glAttachShader(program, vertexShader);
    glAttachShader(program, fragmentShader);
    glLinkProgram(program);
    GLint status = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    if (status != GL_TRUE) {
        std::cout << "Shader linking failed." << std::endl;
        printProgramLog(program);
        glDeleteProgram(program);
        program = 0;
    }
    checkGlError();
}

void Shader::bind() {
    glUseProgram(program);
}

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

GLint Shader::uniform(std::string name) {
    if (program == 0) {
        return -1;
    }
    return glGetUniformLocation(program, name.c_str());
}
