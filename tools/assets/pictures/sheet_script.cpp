#include "pictures/sheet_script.h"

#include "pictures/text_lines.h"

#include <array>
#include <cstdint>
#include <optional>

namespace {

constexpr int kMaxSheetSide = 4096;

bool isDirectiveWord(std::string_view word) {
    return word == "sheet" || word == "legend" || word == "end" || word == "art" ||
           word == "fill" || word == "copy";
}

bool isComment(std::string_view line) {
    const size_t first = line.find_first_not_of(" \t");
    return first != std::string_view::npos && line[first] == '#';
}

// Interprets one source file; the sheet's size is fixed by the first file.
class SheetFileDrawer {
  public:
    SheetFileDrawer(const SheetSource& source, const NamedPalette& palette, BuiltSheet& sheet,
                    bool sheetKnown, std::vector<std::string>& errors)
        : source_(source), palette_(palette), sheet_(sheet), sheetKnown_(sheetKnown),
          errors_(errors) {}

    bool run() {
        const size_t errorsBefore = errors_.size();
        const auto lines = splitLines(source_.text);
        bool sawSheet = false;
        for (size_t i = 0; i < lines.size(); ++i) {
            lineNumber_ = static_cast<int>(i) + 1;
            const std::string_view line = lines[i];
            if (inArt_) {
                if (isBlank(line) || line.front() == '#') {
                    inArt_ = false;
                    continue;
                }
                const auto words = splitWords(line);
                if (!isDirectiveWord(words.front())) {
                    drawArtRow(line);
                    continue;
                }
                inArt_ = false;
            }
            if (isBlank(line) || isComment(line)) continue;
            const auto words = splitWords(line);
            if (inLegend_) {
                readLegendLine(words);
                continue;
            }
            if (!sawSheet) {
                if (words.front() != "sheet") {
                    fail("the first directive must be 'sheet <file.bmp> <width> <height>'");
                    return false;
                }
                sawSheet = true;
                if (!readSheet(words)) return false;
                continue;
            }
            runDirective(words);
        }
        if (!sawSheet) fail("no 'sheet' directive");
        if (inLegend_) fail("legend block is not closed with 'end'");
        return errors_.size() == errorsBefore;
    }

  private:
    void fail(const std::string& message) {
        errors_.push_back(locate(source_.fileName, lineNumber_, message));
    }

    bool readSheet(const std::vector<std::string_view>& words) {
        std::optional<int> width, height;
        if (words.size() == 4) {
            width = parseInteger(words[2]);
            height = parseInteger(words[3]);
        }
        if (!width || !height || *width <= 0 || *height <= 0 || *width > kMaxSheetSide ||
            *height > kMaxSheetSide) {
            fail("expected 'sheet <file.bmp> <width> <height>' with sizes 1.." +
                 std::to_string(kMaxSheetSide));
            return false;
        }
        const std::string name(words[1]);
        if (!sheetKnown_) {
            sheet_.bmpName = name;
            sheet_.image = IndexedImage(*width, *height);
            return true;
        }
        if (name != sheet_.bmpName || *width != sheet_.image.width ||
            *height != sheet_.image.height) {
            fail("sheet " + name + " " + std::to_string(*width) + "x" + std::to_string(*height) +
                 " disagrees with the folder's earlier files (" + sheet_.bmpName + " " +
                 std::to_string(sheet_.image.width) + "x" + std::to_string(sheet_.image.height) +
                 ")");
            return false;
        }
        return true;
    }

    std::optional<uint8_t> colourNamed(std::string_view name) {
        const auto found = palette_.indexByName.find(name);
        if (found == palette_.indexByName.end()) {
            fail("'" + std::string(name) + "' is not a palette name");
            return std::nullopt;
        }
        return found->second;
    }

    void readLegendLine(const std::vector<std::string_view>& words) {
        if (words.size() == 1 && words[0] == "end") {
            inLegend_ = false;
            return;
        }
        if (words.size() != 2 || words[0].size() != 1) {
            fail("expected '<char> <palette name>' or 'end' in a legend block");
            return;
        }
        const unsigned char key = static_cast<unsigned char>(words[0][0]);
        if (key == '#' || key < 0x21 || key > 0x7E) {
            fail("'" + std::string(words[0]) + "' cannot be a legend char");
            return;
        }
        if (const auto index = colourNamed(words[1])) legend_[key] = static_cast<int>(*index);
    }

    // Reads n integers from words[1..n]; reports the expected form when they are not there.
    std::optional<std::vector<int>> integers(const std::vector<std::string_view>& words,
                                             size_t count, const std::string& form) {
        std::vector<int> values;
        for (size_t i = 1; i <= count && i < words.size(); ++i) {
            const auto value = parseInteger(words[i]);
            if (!value) break;
            values.push_back(*value);
        }
        if (values.size() != count) {
            fail("expected '" + form + "'");
            return std::nullopt;
        }
        return values;
    }

    bool rectangleInside(int x, int y, int w, int h, const char* what) {
        const IndexedImage& image = sheet_.image;
        if (w <= 0 || h <= 0) {
            fail(std::string(what) + " rectangle must have a positive size");
            return false;
        }
        if (x < 0 || y < 0 || x > image.width - w || y > image.height - h) {
            fail(std::string(what) + " rectangle (" + std::to_string(x) + "," + std::to_string(y) +
                 ") " + std::to_string(w) + "x" + std::to_string(h) + " reaches outside the " +
                 std::to_string(image.width) + "x" + std::to_string(image.height) + " sheet");
            return false;
        }
        return true;
    }

    void runDirective(const std::vector<std::string_view>& words) {
        const std::string_view name = words.front();
        if (name == "sheet") {
            fail("'sheet' may only be the first directive");
        } else if (name == "legend") {
            if (words.size() != 1) fail("'legend' takes no arguments");
            legend_.fill(-1);
            inLegend_ = true;
        } else if (name == "end") {
            fail("'end' without a 'legend'");
        } else if (name == "art") {
            const auto at = integers(words, 2, "art <x> <y>");
            if (!at || words.size() != 3) return;
            artX_ = (*at)[0];
            artY_ = (*at)[1];
            inArt_ = true;
        } else if (name == "fill") {
            const auto v = integers(words, 4, "fill <x> <y> <w> <h> <palette name>");
            if (!v) return;
            if (words.size() != 6) {
                fail("expected 'fill <x> <y> <w> <h> <palette name>'");
                return;
            }
            const auto index = colourNamed(words[5]);
            if (!index || !rectangleInside((*v)[0], (*v)[1], (*v)[2], (*v)[3], "fill")) return;
            for (int y = 0; y < (*v)[3]; ++y)
                for (int x = 0; x < (*v)[2]; ++x)
                    sheet_.image.set((*v)[0] + x, (*v)[1] + y, *index);
        } else if (name == "copy") {
            runCopy(words);
        } else {
            fail("unknown directive '" + std::string(name) + "'");
        }
    }

    void runCopy(const std::vector<std::string_view>& words) {
        const char* form = "copy <sx> <sy> <w> <h> <dx> <dy> [flipx|flipy|flipxy]";
        const auto v = integers(words, 6, form);
        if (!v) return;
        bool flipX = false, flipY = false;
        if (words.size() == 8) {
            if (words[7] == "flipx")
                flipX = true;
            else if (words[7] == "flipy")
                flipY = true;
            else if (words[7] == "flipxy")
                flipX = flipY = true;
            else {
                fail("unknown copy mode '" + std::string(words[7]) + "'");
                return;
            }
        } else if (words.size() != 7) {
            fail(std::string("expected '") + form + "'");
            return;
        }
        const int sx = (*v)[0], sy = (*v)[1], w = (*v)[2], h = (*v)[3], dx = (*v)[4], dy = (*v)[5];
        if (!rectangleInside(sx, sy, w, h, "copy source") ||
            !rectangleInside(dx, dy, w, h, "copy target"))
            return;
        // Take the source first so overlapping rectangles copy what was there before.
        std::vector<uint8_t> block(static_cast<size_t>(w) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                block[static_cast<size_t>(y) * w + x] = sheet_.image.at(sx + x, sy + y);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const int fromX = flipX ? w - 1 - x : x;
                const int fromY = flipY ? h - 1 - y : y;
                sheet_.image.set(dx + x, dy + y, block[static_cast<size_t>(fromY) * w + fromX]);
            }
        }
    }

    void drawArtRow(std::string_view row) {
        const int64_t y = artY_++;
        for (size_t i = 0; i < row.size(); ++i) {
            const unsigned char key = static_cast<unsigned char>(row[i]);
            if (key == ' ') continue;
            const int64_t x = artX_ + static_cast<int64_t>(i);
            if (legend_[key] < 0) {
                fail("'" + std::string(1, static_cast<char>(key)) + "' (column " +
                     std::to_string(i + 1) + ") is not in the legend");
                return;
            }
            if (x < 0 || y < 0 || x >= sheet_.image.width || y >= sheet_.image.height) {
                fail("pixel (" + std::to_string(x) + "," + std::to_string(y) +
                     ") lies outside the " + std::to_string(sheet_.image.width) + "x" +
                     std::to_string(sheet_.image.height) + " sheet");
                return;
            }
            sheet_.image.set(static_cast<int>(x), static_cast<int>(y),
                             static_cast<uint8_t>(legend_[key]));
        }
    }

    const SheetSource& source_;
    const NamedPalette& palette_;
    BuiltSheet& sheet_;
    bool sheetKnown_;
    std::vector<std::string>& errors_;
    int lineNumber_ = 0;
    std::array<int, 256> legend_ = makeEmptyLegend();
    bool inLegend_ = false;
    bool inArt_ = false;
    // Wide enough that rows below a position near the int limit cannot overflow.
    int64_t artX_ = 0;
    int64_t artY_ = 0;

    static std::array<int, 256> makeEmptyLegend() {
        std::array<int, 256> legend;
        legend.fill(-1);
        return legend;
    }
};

} // namespace

bool drawSheet(const std::vector<SheetSource>& sources, const NamedPalette& palette,
               BuiltSheet& sheet, std::vector<std::string>& errors) {
    const size_t errorsBefore = errors.size();
    sheet = BuiltSheet{};
    bool sheetKnown = false;
    for (const SheetSource& source : sources) {
        SheetFileDrawer drawer(source, palette, sheet, sheetKnown, errors);
        drawer.run();
        // A file that failed before its 'sheet' line leaves the size unknown for the next one.
        sheetKnown = sheet.image.width > 0;
    }
    if (sources.empty()) errors.push_back("no sheet sources");
    return errors.size() == errorsBefore;
}
