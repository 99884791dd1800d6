#include "platform/loaders/font_rasteriser.h"

#include <SDL2/SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <memory>
#include <utility>
#include <vector>

// One or more faces drawn as one font: each character is drawn with the
// first face that has it, the last face (the outline face) being the one
// that draws whatever the others lack. Every face's baseline is put at the
// first face's.
struct RasterFont {
    std::vector<TTF_Font*> faces;
    int cellHeight = 0;
    int baseline = 0;
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

// Hinting for 1-bit output keeps serifs and even spacing, except for the
// Mincho outlines below 13 pixels, where it merges strokes ("Someone" came
// out as "Soneone"); light hinting keeps those letters apart. (At 12 pixels
// the bitmap faces below draw most of that text anyway.)
int hintingFor(const std::string& family, int cellHeight) {
    const bool latin = family.rfind("Liberation", 0) == 0;
    return !latin && cellHeight < 13 ? TTF_HINTING_LIGHT : TTF_HINTING_MONO;
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
        if (TTF_WasInit()) {
            for (TTF_Font* face : font->faces)
                TTF_CloseFont(face);
        }
        delete font;
    }
};

// Bitmap faces drawn before an outline family at one cell height. At 12
// pixels the Mincho outlines lose strokes whatever the hinting ("Someone"
// comes out as "Soneone", "I" as "["), while these 12-pixel bitmap faces of
// Latin and Japanese text are drawn for exactly that size. Characters they
// lack (such as 髙) come from the outline face.
struct BitmapFaces {
    const char* family;
    int cellHeight;
    const char* files[2];
};
// clang-format off
constexpr BitmapFaces BITMAP_FACES[] = {
    {"IPAMincho", 12, {"/usr/share/fonts/X11/misc/h12.pcf.gz", "/usr/share/fonts/X11/misc/f12.pcf.gz"}},
};
// clang-format on

// The bitmap faces for the family at this height that can be opened here.
std::vector<TTF_Font*> openBitmapFaces(const std::string& family, int cellHeight) {
    std::vector<TTF_Font*> faces;
    for (const BitmapFaces& bitmap : BITMAP_FACES) {
        if (family != bitmap.family || cellHeight != bitmap.cellHeight) continue;
        for (const char* file : bitmap.files) {
            TTF_Font* face = TTF_OpenFont(file, cellHeight);
            if (face && TTF_FontHeight(face) == cellHeight) {
                faces.push_back(face);
            } else if (face) {
                TTF_CloseFont(face);
            }
        }
    }
    return faces;
}

// Decodes one UTF-8 character at i, moving i past it; a byte that starts no
// character is taken alone as U+FFFD.
uint32_t nextCodePoint(const std::string& utf8, size_t& i) {
    const auto byte = [&](size_t at) { return static_cast<unsigned char>(utf8[at]); };
    const unsigned char lead = byte(i);
    const int length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || i + size_t(length) > utf8.size()) {
        ++i;
        return 0xFFFD;
    }
    uint32_t code = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (int k = 1; k < length; ++k) {
        if ((byte(i + size_t(k)) & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        code = (code << 6) | (byte(i + size_t(k)) & 0x3F);
    }
    i += size_t(length);
    return code;
}

struct TextRun {
    TTF_Font* face;
    std::string utf8;
};

// The text cut into runs that one face draws each.
std::vector<TextRun> splitIntoRuns(const RasterFont* font, const std::string& utf8) {
    if (font->faces.size() == 1) return {{font->faces.front(), utf8}};
    std::vector<TextRun> runs;
    for (size_t i = 0; i < utf8.size();) {
        const size_t start = i;
        const uint32_t code = nextCodePoint(utf8, i);
        TTF_Font* face = font->faces.back();
        for (TTF_Font* candidate : font->faces) {
            if (TTF_GlyphIsProvided32(candidate, code)) {
                face = candidate;
                break;
            }
        }
        if (runs.empty() || runs.back().face != face) runs.push_back({face, {}});
        runs.back().utf8.append(utf8, start, i - start);
    }
    return runs;
}

int runWidth(const TextRun& run) {
    int width = 0;
    int height = 0;
    return TTF_SizeUTF8(run.face, run.utf8.c_str(), &width, &height) == 0 ? width : 0;
}

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
    TTF_SetFontHinting(font, hintingFor(file.family, cellHeight));
    TTF_SetFontKerning(font, 0);
    sizeFontToCell(font, cellHeight);
    std::unique_ptr<RasterFont, FontDeleter> entry(new RasterFont);
    entry->faces = openBitmapFaces(file.family, cellHeight);
    entry->faces.push_back(font);
    entry->cellHeight = cellHeight;
    entry->baseline = TTF_FontAscent(entry->faces.front());
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
    for (const TextRun& run : splitIntoRuns(font, utf8)) {
        width += runWidth(run);
    }
    return width;
}

CoverageMask renderRasterText(RasterFont* font, const std::string& utf8) {
    CoverageMask mask;
    if (font == nullptr || utf8.empty()) {
        return mask;
    }
    const std::vector<TextRun> runs = splitIntoRuns(font, utf8);
    for (const TextRun& run : runs) {
        mask.width += runWidth(run);
    }
    mask.height = font->cellHeight;
    mask.ink.assign(size_t(mask.width) * size_t(mask.height), 0);
    int left = 0;
    for (const TextRun& run : runs) {
        const int width = runWidth(run);
        SDL_Surface* rendered =
            TTF_RenderUTF8_Solid(run.face, run.utf8.c_str(), SDL_Color{255, 255, 255, 255});
        if (rendered != nullptr && SDL_LockSurface(rendered) == 0) {
            // Solid rendering gives an 8-bit picture: index 0 background, 1 ink.
            const int top = font->baseline - TTF_FontAscent(run.face);
            const auto* pixels = static_cast<const uint8_t*>(rendered->pixels);
            for (int y = 0; y < rendered->h; ++y) {
                const int my = top + y;
                if (my < 0 || my >= mask.height) continue;
                const uint8_t* source = pixels + size_t(y) * size_t(rendered->pitch);
                for (int x = 0; x < rendered->w && x < width; ++x) {
                    if (source[x] != 0 && left + x < mask.width)
                        mask.ink[size_t(my) * size_t(mask.width) + size_t(left + x)] = 1;
                }
            }
            SDL_UnlockSurface(rendered);
        }
        if (rendered != nullptr) SDL_FreeSurface(rendered);
        left += width;
    }
    return mask;
}

void closeRasterFonts() {
    fontCache().clear();
}
