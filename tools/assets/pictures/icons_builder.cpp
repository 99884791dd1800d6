// velta_assets icons: icons/<name>.txt -> the program's window icon in the
// game folder and the icon theme's pictures <theme dir>/<N>x<N>/apps/<name>.png.
#include "builders.h"

#include "common/bmp.h"
#include "common/file_io.h"
#include "common/png.h"
#include "pictures/palette_file.h"
#include "pictures/sheet_script.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The sizes desktops ask an icon theme for.
constexpr int kThemeSizes[] = {16, 32, 48, 64, 128, 256};
// The window icon: large enough for a task switcher, which scales it down.
constexpr int kWindowIconSize = 64;

class IconBuild {
  public:
    IconBuild(const std::string& assetsDir, const std::string& gameDir, const std::string& themeDir)
        : assets_(assetsDir), game_(gameDir), theme_(themeDir) {}

    int run() {
        if (readPalette()) {
            std::vector<fs::path> sources;
            std::error_code ec;
            for (const auto& entry : fs::directory_iterator(assets_ / "icons", ec))
                if (entry.is_regular_file() && entry.path().extension() == ".txt")
                    sources.push_back(entry.path());
            if (ec) errors_.push_back("cannot list " + (assets_ / "icons").string());
            std::sort(sources.begin(), sources.end());
            for (const fs::path& source : sources)
                buildIcon(source);
        }
        for (const std::string& error : errors_)
            std::fprintf(stderr, "icons: %s\n", error.c_str());
        if (!errors_.empty()) return 1;
        std::printf("icons: %d icon(s)\n", iconCount_);
        return 0;
    }

  private:
    bool readPalette() {
        const fs::path path = assets_ / "pictures" / "palette.txt";
        const auto text = readFileText(path.string());
        if (!text) {
            errors_.push_back("cannot read " + path.string());
            return false;
        }
        return parsePaletteText(*text, path.string(), palette_, errors_);
    }

    // The "sheet" line names the window icon's file in the game folder: a
    // relative .bmp path that stays inside it.
    bool checkWindowIconName(const fs::path& source, const std::string& name) {
        const fs::path path(name);
        bool inside = !name.empty() && path.is_relative() && path.extension() == ".bmp";
        for (const fs::path& part : path)
            if (part == ".." || part == ".") inside = false;
        if (!inside)
            errors_.push_back(source.string() + ": the sheet name '" + name +
                              "' must be a .bmp path inside the game folder");
        return inside;
    }

    // Nearest-neighbour enlargement (or reduction): pixel art stays crisp.
    static IndexedImage scaled(const IndexedImage& image, int size) {
        IndexedImage result(size, size);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                result.set(x, y, image.at(x * image.width / size, y * image.height / size));
        return result;
    }

    // Index 0 is transparent, as on every sheet of the game.
    std::vector<uint8_t> rgba(const IndexedImage& image) const {
        std::vector<uint8_t> bytes;
        bytes.reserve(image.pixels.size() * 4);
        for (uint8_t index : image.pixels) {
            const Rgb& colour = palette_.colours[index];
            bytes.insert(bytes.end(),
                         {colour.red, colour.green, colour.blue, uint8_t(index == 0 ? 0 : 255)});
        }
        return bytes;
    }

    void buildIcon(const fs::path& source) {
        const auto text = readFileText(source.string());
        if (!text) {
            errors_.push_back("cannot read " + source.string());
            return;
        }
        BuiltSheet icon;
        if (!drawSheet({{source.string(), *text}}, palette_, icon, errors_)) return;
        if (icon.image.width != icon.image.height) {
            errors_.push_back(source.string() + ": an icon must be square, not " +
                              std::to_string(icon.image.width) + "x" +
                              std::to_string(icon.image.height));
            return;
        }
        if (!checkWindowIconName(source, icon.bmpName)) return;
        write(game_ / icon.bmpName,
              encodeIndexedBmp(scaled(icon.image, kWindowIconSize), palette_.colours));
        const std::string name = source.stem().string() + ".png";
        for (int size : kThemeSizes) {
            const std::string folder = std::to_string(size) + "x" + std::to_string(size);
            write(theme_ / folder / "apps" / name,
                  encodeRgbaPng(size, size, rgba(scaled(icon.image, size))));
        }
        ++iconCount_;
    }

    void write(const fs::path& path, const std::vector<uint8_t>& bytes) {
        std::string error;
        if (bytes.empty())
            errors_.push_back("cannot encode " + path.string());
        else if (!writeFileIfChanged(path.string(), bytes, error))
            errors_.push_back(error);
    }

    fs::path assets_;
    fs::path game_;
    fs::path theme_;
    NamedPalette palette_;
    std::vector<std::string> errors_;
    int iconCount_ = 0;
};

} // namespace

int buildIcons(const std::string& assetsDir, const std::string& gameDir,
               const std::string& themeDir) {
    return IconBuild(assetsDir, gameDir, themeDir).run();
}
