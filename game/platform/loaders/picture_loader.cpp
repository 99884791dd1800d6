#include "platform/loaders/picture_loader.h"

#include "platform/loaders/bmp_check.h"
#include "platform/loaders/regular_file.h"

#include <SDL.h>

#include <optional>

bool loadRgbPicture(const std::string& fileName, RgbPicture& picture) {
    // SDL allocates whatever the header asks for, so the header is checked
    // against the file first.
    const std::optional<std::string> bytes = readRegularFile(fileName, MAX_PICTURE_FILE_BYTES);
    if (!bytes || !bmpFitsFile(*bytes)) return false;
    SDL_RWops* file = SDL_RWFromConstMem(bytes->data(), int(bytes->size()));
    if (!file) return false;
    SDL_Surface* loaded = SDL_LoadBMP_RW(file, 1);
    if (!loaded) return false;
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB888, 0);
    SDL_FreeSurface(loaded);
    if (!rgb) return false;
    picture.width = rgb->w;
    picture.height = rgb->h;
    picture.pixels.resize(size_t(rgb->w) * size_t(rgb->h));
    if (SDL_LockSurface(rgb) == 0) {
        for (int y = 0; y < rgb->h; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(
                static_cast<const uint8_t*>(rgb->pixels) + size_t(y) * size_t(rgb->pitch));
            for (int x = 0; x < rgb->w; ++x)
                picture.pixels[size_t(y) * size_t(rgb->w) + size_t(x)] = row[x] & 0xFFFFFF;
        }
        SDL_UnlockSurface(rgb);
    }
    SDL_FreeSurface(rgb);
    return true;
}
