#ifndef GELMARCH_RENDER_SHADER_H
#define GELMARCH_RENDER_SHADER_H

#include <GL/glew.h>

#include <string>

// A GLSL program read from NAME.vert and NAME.frag. Failures are printed and leave the object invalid
// (program 0), so whatever it should draw simply does not appear.
class Shader {
public:
    explicit Shader(std::string baseName);
    ~Shader();

    void bind();
    static void unbind();
    // Plain GL lookups, by name at every call: -1 for unknown or optimised-away names.
    GLint attribute(std::string name);
    GLint uniform(std::string name);

    bool valid;
    std::string vertexSource;
    std::string fragmentSource;
    GLuint vertexShader;
    GLuint fragmentShader;
    GLuint program;

private:
    GLuint compile(GLenum type, const std::string& source);
    void link();

    Shader(const Shader&);
    Shader& operator=(const Shader&);
};

#endif
