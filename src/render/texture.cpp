#include "render/texture.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <vector>

#include "render/asset_path.h"

namespace {

// Palettised and 16-bit images become 32-bit RGBA with red in the lowest byte. A palette image's colour key
// (a transparent PNG palette entry) becomes alpha 0, so such an image keeps its holes.
SDL_Surface* convertToRgba(SDL_Surface* surface) {
    SDL_PixelFormat rgba;
    std::memset(&rgba, 0, sizeof(rgba));
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
    if (!converted) {
        return 0;
    }
    if (surface->format->BytesPerPixel == 1 && (surface->flags & SDL_SRCCOLORKEY)) {
        Uint32 key = surface->format->colorkey;
        for (int row = 0; row < surface->h; ++row) {
            const Uint8* in = (const Uint8*)surface->pixels + row * surface->pitch;
            Uint8* out = (Uint8*)converted->pixels + row * converted->pitch;
            for (int col = 0; col < surface->w; ++col) {
                out[col * 4 + 3] = in[col] == key ? 0 : 255;
            }
        }
    }
    return converted;
}

}  // namespace

bool imageFormats(int bytesPerPixel, unsigned int redMask, GLenum* textureFormat, GLint* internalFormat) {
    if (bytesPerPixel == 4) {
        *textureFormat = redMask == 0xFF ? GL_RGBA : GL_BGRA;
        *internalFormat = GL_RGBA;
        return true;
    }
    if (bytesPerPixel == 3) {
        *textureFormat = redMask == 0xFF ? GL_RGB : GL_BGR;
        *internalFormat = GL_RGB;
        return true;
    }
    return false;
}

Texture loadTexture(const char* path) {
    SDL_Surface* surface = IMG_Load(assetPath(path).c_str());
    if (!surface) {
        std::cout << "Error: Couldn't open " << path << ": " << SDL_GetError() << std::endl;
        return 0;
    }
    GLenum textureFormat = GL_RGBA;
    GLint internalFormat = GL_RGBA;
    if (!imageFormats(surface->format->BytesPerPixel, surface->format->Rmask, &textureFormat, &internalFormat)) {
        std::cout << "Strange image format, will probably not work!" << std::endl;
        SDL_Surface* converted = convertToRgba(surface);
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

    // SDL pads rows to a multiple of 4 bytes. Packing them tightly and uploading with alignment 1 makes
    // every width load, 3-byte rows of odd width included, whatever padding the decoder chose.
    int bytes = surface->format->BytesPerPixel;
    int rowBytes = surface->w * bytes;
    const unsigned char* pixels = (const unsigned char*)surface->pixels;
    std::vector<unsigned char> packed;
    if (SDL_MUSTLOCK(surface)) {
        SDL_LockSurface(surface);
    }
    if (surface->pitch != rowBytes && surface->h > 0) {
        packed.resize((size_t)rowBytes * surface->h);
        for (int row = 0; row < surface->h; ++row) {
            std::memcpy(&packed[(size_t)row * rowBytes], pixels + (size_t)row * surface->pitch, rowBytes);
        }
        pixels = packed.data();
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, surface->w, surface->h, 0, textureFormat, GL_UNSIGNED_BYTE,
                 pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    if (SDL_MUSTLOCK(surface)) {
        SDL_UnlockSurface(surface);
    }
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
