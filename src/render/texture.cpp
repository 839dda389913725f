#include "render/texture.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <vector>

#include "render/asset_path.h"

namespace {

// Palettised and 16-bit images become 32-bit RGBA with red in the lowest byte; 0 if SDL cannot convert.
SDL_Surface* convertToRgba(SDL_Surface* surface) {
    SDL_Surface* model = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 32, 0x000000FF, 0x0000FF00, 0x00FF0000,
                                              0xFF000000);
    if (!model) {
        return 0;
    }
    SDL_Surface* converted = SDL_ConvertSurface(surface, model->format, SDL_SWSURFACE);
    SDL_FreeSurface(model);
    return converted;
}

// The upload formats of a decoded image: red in the lowest byte means the bytes already lie in RGB(A)
// order, otherwise they are BGR(A). False, formats untouched, for depths other than 3 and 4 bytes.
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

}  // namespace

// See the header; the path keeps the game's backslashes in messages and is mapped only to open the file.
Texture loadTexture(const char* path) {
    SDL_Surface* surface = IMG_Load(assetPath(path).c_str());
    if (!surface) {
        std::cout << "Error: Couldn't open " << path << ": " << SDL_GetError() << std::endl;
        return 0;
    }
    GLenum textureFormat = GL_RGBA;
    GLint internalFormat = GL_RGBA;
    bool upload = true;
    if (!imageFormats(surface->format->BytesPerPixel, surface->format->Rmask, &textureFormat, &internalFormat)) {
        std::cout << "Strange image format, will probably not work!" << std::endl;
        SDL_Surface* converted = convertToRgba(surface);
        // Without a conversion the pixels do not fit the RGBA upload: the texture is made but left empty.
        upload = converted != 0;
        if (converted) {
            SDL_FreeSurface(surface);
            surface = converted;
        }
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
    int rowBytes = surface->w * surface->format->BytesPerPixel;
    const unsigned char* pixels = upload ? (const unsigned char*)surface->pixels : 0;
    std::vector<unsigned char> packed;
    if (pixels && surface->pitch != rowBytes) {
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
    glGenerateMipmap(GL_TEXTURE_2D);
    SDL_FreeSurface(surface);
    return name;
}

// Filled by its owner at run time (the terrain's maps), hence no mipmaps.
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

// Without the extension there is nothing to set.
void setAnisotropy(const Texture* textures, int count, float value) {
    glActiveTexture(GL_TEXTURE0);
    for (int i = 0; i < count; ++i) {
        glBindTexture(GL_TEXTURE_2D, textures[i]);
        if (GLEW_EXT_texture_filter_anisotropic) {
            glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, value);
        }
    }
}

// Mipmapped nearest filtering still blends between levels (NEAREST_MIPMAP_LINEAR).
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

// The ceiling of the render options' anisotropy cycle.
float maxAnisotropy() {
    if (!GLEW_EXT_texture_filter_anisotropic) {
        return 1.0f;
    }
    float value = 1.0f;
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &value);
    return value;
}
