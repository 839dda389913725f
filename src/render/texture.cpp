#include "render/texture.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdlib>
#include <iostream>

#include "render/asset_path.h"

Texture loadTexture(const char* path) {
    SDL_Surface* surface = IMG_Load(assetPath(path).c_str());
    if (!surface) {
        std::cout << "Error: Couldn't open " << path << ": " << SDL_GetError() << std::endl;
        return 0;
    }
    GLenum textureFormat = GL_RGBA;
    GLint internalFormat = GL_RGBA;
    int bytes = surface->format->BytesPerPixel;
    if (bytes == 4) {
        textureFormat = surface->format->Rmask == 0xFF ? GL_RGBA : GL_BGRA;
        internalFormat = GL_RGBA;
    } else if (bytes == 3) {
        textureFormat = surface->format->Rmask == 0xFF ? GL_RGB : GL_BGR;
        internalFormat = GL_RGB;
    } else {
        std::cout << "Strange image format, will probably not work!" << std::endl;
        // Palettised and 16-bit images are converted to 32-bit RGBA so they still draw correctly.
        SDL_PixelFormat rgba = {};
        rgba.BitsPerPixel = 32;
        rgba.BytesPerPixel = 4;
        rgba.Rmask = 0x000000FF;
        rgba.Gmask = 0x0000FF00;
        rgba.Bmask = 0x00FF0000;
        rgba.Amask = 0xFF000000;
        rgba.Gshift = 8;
        rgba.Bshift = 16;
        rgba.Ashift = 24;
        rgba.alpha = 255;
        SDL_Surface* converted = SDL_ConvertSurface(surface, &rgba, SDL_SWSURFACE);
        if (converted) {
            SDL_FreeSurface(surface);
            surface = converted;
        }
        textureFormat = GL_RGBA;
        internalFormat = GL_RGBA;
    }

    Texture name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    if (GLEW_EXT_texture_filter_anisotropic) {
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, 2.0f);
    }
    // SDL pads every row to its pitch; telling GL the row length makes any width load, 3-byte rows included.
    int bpp = surface->format->BytesPerPixel;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, bpp > 0 ? surface->pitch / bpp : 0);
    glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, surface->w, surface->h, 0, textureFormat, GL_UNSIGNED_BYTE,
                 surface->pixels);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glGenerateMipmap(GL_TEXTURE_2D);
    SDL_FreeSurface(surface);
    return name;
}

Texture createBlankTexture(int size) {
    unsigned char* buffer = (unsigned char*)std::calloc((size_t)size * size * 4, 1);
    Texture name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE, buffer);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    std::free(buffer);
    return name;
}

void setAnisotropy(const Texture* textures, int count, float value) {
    glActiveTexture(GL_TEXTURE0);
    for (int i = 0; i < count; ++i) {
        glBindTexture(GL_TEXTURE_2D, textures[i]);
        if (GLEW_EXT_texture_filter_anisotropic) {
            glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, value);
        }
    }
}

void setFiltering(const Texture* textures, int count, bool linear, bool mipmaps) {
    GLint mag = linear ? GL_LINEAR : GL_NEAREST;
    GLint min;
    if (linear) {
        min = mipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR;
    } else {
        min = mipmaps ? GL_NEAREST_MIPMAP_LINEAR : GL_NEAREST;
    }
    glActiveTexture(GL_TEXTURE0);
    for (int i = 0; i < count; ++i) {
        glBindTexture(GL_TEXTURE_2D, textures[i]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, mag);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min);
    }
}

float maxAnisotropy() {
    if (!GLEW_EXT_texture_filter_anisotropic) {
        return 1.0f;
    }
    float value = 1.0f;
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &value);
    return value;
}
