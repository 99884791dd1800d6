#include "platform/loaders/font_rasteriser.h"

#include <SDL2/SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <memory>
#include <utility>

struct RasterFont {
    TTF_Font* font = nullptr;
    int cellHeight = 0;
};

namespace {

// SDL_ttf sizes are whole points; at 8 dpi one point is 1/9 pixel, fine
// enough to meet any cell height exactly.
constexpr unsigned FONT_DPI = 8;
constexpr int POINTS_PER_PIXEL = 9;
constexpr int MAX_CELL_HEIGHT = 512;

struct FaceAlias {
    const char* name;
    const char* family;
};

// Windows face names the game and its files may ask for, and the families that
// stand in for them here.
constexpr FaceAlias FACE_ALIASES[] = {
    {"標準明朝", "IPAMincho"},         {"ＭＳ 明朝", "IPAMincho"},
    {"MS Mincho", "IPAMincho"},        {"ＭＳ Ｐ明朝", "IPAPMincho"},
    {"MS PMincho", "IPAPMincho"},      {"明朝", "IPAMincho"},
    {"ＭＳ ゴシック", "IPAGothic"},    {"MS Gothic", "IPAGothic"},
    {"ＭＳ Ｐゴシック", "IPAPGothic"}, {"MS PGothic", "IPAPGothic"},
    {"MS UI Gothic", "IPAPGothic"},    {"ゴシック", "IPAGothic"},
    {"Times", "Liberation Serif"},     {"Times New Roman", "Liberation Serif"},
    {"Arial", "Liberation Sans"},      {"Helvetica", "Liberation Sans"},
    {"Courier", "Liberation Mono"},    {"Courier New", "Liberation Mono"},
};

// Families tried, in order, when nothing else can be had.
constexpr const char* LAST_RESORT_FAMILIES[] = {"IPAMincho", "IPAGothic", "Liberation Serif"};

// The Mincho face keeps each letter's own shape at 12 pixels only with light
// hinting; the strong hinting for 1-bit output merges its strokes ("Someone"
// came out as "Soneone"). The Latin serif face is the other way round: strong
// hinting keeps its serifs and even spacing, light hinting breaks letters
// apart ("CR EATED").
int hintingFor(const std::string& family) {
    return family.rfind("Liberation", 0) == 0 ? TTF_HINTING_MONO : TTF_HINTING_LIGHT;
}

bool sameNameIgnoringCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x < 0x80 && y < 0x80 ? std::tolower(x) != std::tolower(y) : x != y) {
            return false;
        }
    }
    return i == a.size() && b[i] == '\0';
}

const char* aliasedFamily(const std::string& faceName) {
    for (const FaceAlias& alias : FACE_ALIASES) {
        if (sameNameIgnoringCase(faceName, alias.name)) {
            return alias.family;
        }
    }
    return nullptr;
}

bool resultHasFamily(FcPattern* match, const char* family) {
    FcChar8* value = nullptr;
    for (int n = 0; FcPatternGetString(match, FC_FAMILY, n, &value) == FcResultMatch; ++n) {
        if (sameNameIgnoringCase(reinterpret_cast<const char*>(value), family)) {
            return true;
        }
    }
    return false;
}

// Asks fontconfig for the regular face of a family; with requireFamily the
// match must really be that family, not fontconfig's general default.
// fontconfig keeps its configuration until FcFini; releasing it at exit keeps
// leak checkers quiet about memory that only the process end would free.
bool startFontconfig() {
    static const bool started = [] {
        if (!FcInit()) {
            return false;
        }
        std::atexit([] { FcFini(); });
        return true;
    }();
    return started;
}

FontFile matchFamily(const char* family, bool preferJapanese, bool requireFamily) {
    FontFile found;
    if (!startFontconfig()) {
        return found;
    }
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    if (preferJapanese) {
        FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    }
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    if (match != nullptr) {
        FcChar8* file = nullptr;
        int index = 0;
        bool accepted = !requireFamily || resultHasFamily(match, family);
        if (accepted && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
            found.path = reinterpret_cast<const char*>(file);
            if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) {
                found.index = index;
            }
            FcChar8* name = nullptr;
            if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch) {
                found.family = reinterpret_cast<const char*>(name);
            }
        }
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return found;
}

std::map<std::string, FontFile>& faceCache() {
    static std::map<std::string, FontFile> cache;
    return cache;
}

struct FontCacheKey {
    std::string path;
    int index;
    int cellHeight;
    auto operator<=>(const FontCacheKey&) const = default;
};

struct FontDeleter {
    void operator()(RasterFont* font) const {
        if (font->font != nullptr && TTF_WasInit()) {
            TTF_CloseFont(font->font);
        }
        delete font;
    }
};

std::map<FontCacheKey, std::unique_ptr<RasterFont, FontDeleter>>& fontCache() {
    static std::map<FontCacheKey, std::unique_ptr<RasterFont, FontDeleter>> cache;
    return cache;
}

// The largest size whose cell fits the height: GDI gives a positive font
// height as the cell height, ascent plus descent.
void sizeFontToCell(TTF_Font* font, int cellHeight) {
    int low = 1;
    int high = cellHeight * POINTS_PER_PIXEL * 2;
    while (low < high) {
        int middle = (low + high + 1) / 2;
        TTF_SetFontSizeDPI(font, middle, FONT_DPI, FONT_DPI);
        if (TTF_FontHeight(font) <= cellHeight) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    TTF_SetFontSizeDPI(font, low, FONT_DPI, FONT_DPI);
}

} // namespace

FontFile findFontFile(const std::string& faceName) {
    auto cached = faceCache().find(faceName);
    if (cached != faceCache().end()) {
        return cached->second;
    }
    FontFile found;
    if (const char* family = aliasedFamily(faceName)) {
        found = matchFamily(family, false, true);
    }
    if (found.path.empty() && !faceName.empty()) {
        found = matchFamily(faceName.c_str(), true, false);
    }
    for (const char* family : LAST_RESORT_FAMILIES) {
        if (!found.path.empty()) {
            break;
        }
        found = matchFamily(family, false, true);
    }
    faceCache()[faceName] = found;
    return found;
}

RasterFont* openRasterFont(const std::string& faceName, int cellHeight) {
    if (cellHeight < 0) {
        cellHeight = -cellHeight;
    }
    if (cellHeight == 0) {
        cellHeight = 12;
    }
    cellHeight = std::min(cellHeight, MAX_CELL_HEIGHT);
    FontFile file = findFontFile(faceName);
    if (file.path.empty()) {
        return nullptr;
    }
    FontCacheKey key{file.path, file.index, cellHeight};
    auto cached = fontCache().find(key);
    if (cached != fontCache().end()) {
        return cached->second.get();
    }
    if (!TTF_WasInit() && TTF_Init() != 0) {
        return nullptr;
    }
    TTF_Font* font = TTF_OpenFontIndexDPI(file.path.c_str(), cellHeight * POINTS_PER_PIXEL,
                                          file.index, FONT_DPI, FONT_DPI);
    if (font == nullptr) {
        return nullptr;
    }
    // No kerning: GDI's TextOut advances by the plain glyph widths.
    TTF_SetFontHinting(font, hintingFor(file.family));
    TTF_SetFontKerning(font, 0);
    sizeFontToCell(font, cellHeight);
    std::unique_ptr<RasterFont, FontDeleter> entry(new RasterFont{font, cellHeight});
    RasterFont* opened = entry.get();
    fontCache()[key] = std::move(entry);
    return opened;
}

int rasterCellHeight(const RasterFont* font) {
    return font != nullptr ? font->cellHeight : 0;
}

int measureRasterText(RasterFont* font, const std::string& utf8) {
    if (font == nullptr || utf8.empty()) {
        return 0;
    }
    int width = 0;
    int height = 0;
    if (TTF_SizeUTF8(font->font, utf8.c_str(), &width, &height) != 0) {
        return 0;
    }
    return width;
}

CoverageMask renderRasterText(RasterFont* font, const std::string& utf8) {
    CoverageMask mask;
    if (font == nullptr || utf8.empty()) {
        return mask;
    }
    SDL_Surface* rendered =
        TTF_RenderUTF8_Solid(font->font, utf8.c_str(), SDL_Color{255, 255, 255, 255});
    if (rendered == nullptr) {
        return mask;
    }
    if (SDL_LockSurface(rendered) == 0) {
        // Solid rendering gives an 8-bit picture: index 0 background, 1 ink.
        mask.width = rendered->w;
        mask.height = std::min(rendered->h, font->cellHeight);
        mask.ink.assign(size_t(mask.width) * size_t(mask.height), 0);
        const auto* pixels = static_cast<const uint8_t*>(rendered->pixels);
        for (int y = 0; y < mask.height; ++y) {
            const uint8_t* source = pixels + size_t(y) * size_t(rendered->pitch);
            for (int x = 0; x < mask.width; ++x) {
                mask.ink[size_t(y) * size_t(mask.width) + size_t(x)] = source[x] != 0 ? 1 : 0;
            }
        }
        SDL_UnlockSurface(rendered);
    }
    SDL_FreeSurface(rendered);
    return mask;
}

void closeRasterFonts() {
    fontCache().clear();
}
