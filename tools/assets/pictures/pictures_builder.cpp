// velta_assets pictures: palette.txt -> pal.bmp, pictures/<sheet>/*.txt -> <sheet>.bmp,
// dat/*.dat checked against enemy.bmp and copied to <game dir>/dat/.
#include "builders.h"

#include "common/bmp.h"
#include "common/file_io.h"
#include "pictures/enemy_definitions.h"
#include "pictures/palette_file.h"
#include "pictures/sheet_script.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>

namespace fs = std::filesystem;

namespace {

struct RequiredSheet {
    const char* folder;
    const char* bmpName;
    int width;
    int height;
};

// The sheets the game loads, at the sizes it copies out of them.
constexpr RequiredSheet kRequiredSheets[] = {
    {"chr", "chr.bmp", 256, 256},       {"mapobj", "mapobj.bmp", 256, 256},
    {"beam", "beam.bmp", 64, 64},       {"enemy", "enemy.bmp", 128, 128},
    {"effect", "effect.bmp", 256, 256}, {"tt", "tt.bmp", 256, 256},
};

class PictureBuild {
  public:
    PictureBuild(const std::string& assetsDir, const std::string& gameDir)
        : assets_(assetsDir), game_(gameDir) {}

    int run() {
        if (!readPalette()) return finish();
        writeOutput(game_ / "pal.bmp", encodeIndexedBmp(paletteSwatch(), palette_.colours));
        buildSheets();
        copyEnemyDefinitions();
        return finish();
    }

  private:
    int finish() {
        for (const std::string& error : errors_)
            std::fprintf(stderr, "pictures: %s\n", error.c_str());
        if (!errors_.empty()) {
            std::fprintf(stderr, "pictures: %zu error(s)\n", errors_.size());
            return 1;
        }
        std::printf("pictures: %d sheet(s), %d definition(s), %d file(s) rewritten\n", sheetCount_,
                    definitionCount_, rewritten_);
        return 0;
    }

    bool readPalette() {
        const fs::path path = assets_ / "pictures" / "palette.txt";
        const auto bytes = readFileBytes(path.string());
        if (!bytes) {
            errors_.push_back("cannot read " + path.string());
            return false;
        }
        return parsePaletteText(std::string(bytes->begin(), bytes->end()), path.string(), palette_,
                                errors_);
    }

    // 16x16, one pixel per palette entry, so pal.bmp also shows the palette.
    static IndexedImage paletteSwatch() {
        IndexedImage swatch(16, 16);
        for (int i = 0; i < 256; ++i)
            swatch.set(i % 16, i / 16, static_cast<uint8_t>(i));
        return swatch;
    }

    void writeOutput(const fs::path& path, const std::vector<uint8_t>& bytes) {
        const auto before = readFileBytes(path.string());
        std::string error;
        if (!writeFileIfChanged(path.string(), bytes, error))
            errors_.push_back(error);
        else if (!before || *before != bytes)
            ++rewritten_;
    }

    static std::vector<fs::path> sortedEntries(const fs::path& folder, bool wantFolders,
                                               const std::string& suffix) {
        std::vector<fs::path> entries;
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(folder, ec)) {
            if (wantFolders ? entry.is_directory()
                            : (entry.is_regular_file() && entry.path().extension() == suffix))
                entries.push_back(entry.path());
        }
        std::sort(entries.begin(), entries.end());
        return entries;
    }

    void buildSheets() {
        std::set<std::string> builtFolders;
        std::map<std::string, std::string> folderByBmp;
        for (const fs::path& folder : sortedEntries(assets_ / "pictures", true, "")) {
            const std::string folderName = folder.filename().string();
            std::vector<SheetSource> sources;
            for (const fs::path& file : sortedEntries(folder, false, ".txt")) {
                const auto bytes = readFileBytes(file.string());
                if (!bytes) {
                    errors_.push_back("cannot read " + file.string());
                    continue;
                }
                sources.push_back({file.string(), std::string(bytes->begin(), bytes->end())});
            }
            if (sources.empty()) continue;
            builtFolders.insert(folderName);
            BuiltSheet sheet;
            if (!drawSheet(sources, palette_, sheet, errors_)) continue;
            if (!checkRequiredShape(folder, sheet) ||
                !checkUniqueOutput(folderByBmp, folder, sheet.bmpName))
                continue;
            writeOutput(game_ / sheet.bmpName, encodeIndexedBmp(sheet.image, palette_.colours));
            if (sheet.bmpName == "enemy.bmp") enemySheet_ = sheet.image;
            ++sheetCount_;
        }
        for (const RequiredSheet& required : kRequiredSheets) {
            if (builtFolders.count(required.folder) == 0)
                errors_.push_back((assets_ / "pictures" / required.folder).string() +
                                  ": missing (no .txt sources); the game needs " +
                                  required.bmpName);
        }
    }

    bool checkRequiredShape(const fs::path& folder, const BuiltSheet& sheet) {
        for (const RequiredSheet& required : kRequiredSheets) {
            if (folder.filename() != required.folder) continue;
            if (sheet.bmpName != required.bmpName || sheet.image.width != required.width ||
                sheet.image.height != required.height) {
                errors_.push_back(folder.string() + ": must make " + required.bmpName + " " +
                                  std::to_string(required.width) + "x" +
                                  std::to_string(required.height) + ", its sources say " +
                                  sheet.bmpName + " " + std::to_string(sheet.image.width) + "x" +
                                  std::to_string(sheet.image.height));
                return false;
            }
        }
        return true;
    }

    bool checkUniqueOutput(std::map<std::string, std::string>& folderByBmp, const fs::path& folder,
                           const std::string& bmpName) {
        if (bmpName.find('/') != std::string::npos || bmpName.find('\\') != std::string::npos ||
            fs::path(bmpName).extension() != ".bmp") {
            errors_.push_back(folder.string() + ": sheet name '" + bmpName +
                              "' must be a plain <name>.bmp");
            return false;
        }
        const auto [it, inserted] = folderByBmp.emplace(bmpName, folder.string());
        if (!inserted) {
            errors_.push_back(folder.string() + ": " + bmpName + " is already made by " +
                              it->second);
            return false;
        }
        return true;
    }

    void copyEnemyDefinitions() {
        const fs::path source = assets_ / "dat";
        if (!fs::is_directory(source)) return;
        for (const fs::path& file : sortedEntries(source, false, ".dat")) {
            const auto bytes = readFileBytes(file.string());
            if (!bytes) {
                errors_.push_back("cannot read " + file.string());
                continue;
            }
            // Enemy definitions are checked against the frames they name.
            const std::string name = file.filename().string();
            if (name.size() > 1 && name[0] == 'e' &&
                std::isdigit(static_cast<unsigned char>(name[1]))) {
                if (enemySheet_.width == 0) {
                    errors_.push_back(file.string() + ": not checked, enemy.bmp was not built");
                    continue;
                }
                if (!checkEnemyDefinition(std::string(bytes->begin(), bytes->end()), file.string(),
                                          enemySheet_, errors_))
                    continue;
                ++definitionCount_;
            }
            writeOutput(game_ / "dat" / name, *bytes);
        }
    }

    fs::path assets_;
    fs::path game_;
    NamedPalette palette_;
    IndexedImage enemySheet_;
    std::vector<std::string> errors_;
    int sheetCount_ = 0;
    int definitionCount_ = 0;
    int rewritten_ = 0;
};

} // namespace

int buildPictures(const std::string& assetsDir, const std::string& gameDir) {
    return PictureBuild(assetsDir, gameDir).run();
}
