#include "shell/stage_list.h"

#include "formats/shift_jis.h"
#include "platform/ascii_case.h"
#include "platform/decimal.h"
#include "platform/game_folders.h"
#include "platform/paths.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <set>
#include <string_view>
#include <system_error>
#include <utility>

std::vector<StageListEntry> stageList;

namespace {

constexpr const char* MAIN_STAGE_FILE = "def.vtg";
// The editor's test-play file: a test play that fails leaves it behind, and
// it is no stage set of the player's.
constexpr const char* TEST_PLAY_FILE = "__ed.vtg";
constexpr size_t LINE_LIMIT = 1023;     // a line read into a 1024-byte buffer
constexpr size_t FILE_NAME_LIMIT = 255; // the entry's 256-byte name field

std::string upperCase(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = foldAsciiCase(c);
    return result;
}

// Folder listings come in no fixed order here; name order keeps the
// selection the same from run to run.
bool nameOrder(const std::string& a, const std::string& b) {
    const std::string upperA = upperCase(a), upperB = upperCase(b);
    return upperA != upperB ? upperA < upperB : a < b;
}

bool matchesStagePattern(std::string_view name) {
    return name.size() >= 4 && equalsIgnoringAsciiCase(name.substr(name.size() - 4), ".vtg");
}

// Names with double-byte characters are left out. Every byte from 128 up is
// refused, 128 included: it is no character of the code page either, so a
// name holding it could not be shown.
bool plainAsciiName(std::string_view name) {
    return std::none_of(name.begin(), name.end(),
                        [](char c) { return static_cast<unsigned char>(c) >= 128; });
}

class HeaderReader {
  public:
    explicit HeaderReader(std::string text) : text_(std::move(text)) {}

    // One line with its line feed. A line longer than the buffer is cut and
    // its rest skipped, so that the following header lines stay in step.
    std::string readLine() {
        size_t end = text_.find('\n', position_);
        size_t next = end == std::string::npos ? text_.size() : end + 1;
        std::string_view line(text_.data() + position_, next - position_);
        position_ = next;
        if (line.size() > LINE_LIMIT) line = line.substr(0, shiftJisCut(line, LINE_LIMIT));
        return std::string(line);
    }

    // "%d\n"; a line without a number reads as 0, and digits past the range
    // of an int wrap rather than overflow.
    int32_t readNumber() {
        const DecimalRead number = readDecimal(text_, position_);
        position_ = number.end;
        return number.value;
    }

  private:
    static bool isSpace(char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
    }

    std::string text_;
    size_t position_ = 0;
};

std::vector<std::string> listStageFiles(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator entries(resolvePath(folder), error);
    if (error) return names;
    for (const auto& entry : entries) {
        std::string name = entry.path().filename().string();
        if (matchesStagePattern(name) && !entry.is_directory(error))
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(), nameOrder);
    return names;
}

} // namespace

void buildStageList() {
    stageList.clear();
    // The player's own folder comes first: a file of theirs takes the place
    // of a shipped one of the same name, as the stage loader opens theirs.
    const GameFolders& folders = currentGameFolders();
    std::vector<std::string> folderOrder;
    if (!folders.userStages.empty()) folderOrder.push_back(folders.userStages);
    folderOrder.push_back(gameFolder() + "stage/");

    std::vector<std::pair<std::string, std::string>> found; // folder, listed name
    std::set<std::string> taken;                            // names in capitals
    for (const std::string& folder : folderOrder) {
        std::set<std::string> fromThisFolder;
        for (std::string& listed : listStageFiles(folder)) {
            const std::string upper = upperCase(listed);
            if (taken.count(upper)) continue;
            fromThisFolder.insert(upper);
            found.emplace_back(folder, std::move(listed));
        }
        taken.insert(fromThisFolder.begin(), fromThisFolder.end());
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return nameOrder(a.second, b.second); });

    for (const auto& [folder, listed] : found) {
        if (listed == MAIN_STAGE_FILE || equalsIgnoringAsciiCase(listed, TEST_PLAY_FILE) ||
            !plainAsciiName(listed) || listed.size() > FILE_NAME_LIMIT)
            continue;
        StageListEntry entry;
        entry.fileName = upperCase(listed);

        // Opened by the capitalised name, as the stage loader will open it later.
        std::optional<std::string> text = readTextModeFile(folder + entry.fileName);
        if (!text) continue;
        HeaderReader header(std::move(*text));

        entry.comment = header.readLine();
        entry.author = header.readLine();
        header.readLine(); // clear message
        header.readLine(); // starting lives
        entry.difficulty = header.readNumber();
        std::replace(entry.author.begin(), entry.author.end(), '\n', ' ');
        stageList.push_back(std::move(entry));
    }
}
