// velta-replay: plays a stage of a stage file from an input script on the
// headless backend and prints what happened, or draws whole stages as
// pictures. See replay_script.h for the script format.
#include "platform/game_folders.h"
#include "platform/headless/picture_file.h"
#include "replay/replay_runner.h"
#include "replay/stage_overview.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr const char* USAGE =
    "usage: velta-replay [options] <stage file> <stage index> <script>\n"
    "       velta-replay [--game-folder DIR] --overview FILE <stage file> <stage index>\n"
    "       velta-replay [--game-folder DIR] --overview-all DIR <stage file>\n"
    "\n"
    "Plays stage <stage index> (counted from 0) of <stage file>, a file in the\n"
    "game folder's \"stage\" folder, as a new game started there, holding the\n"
    "buttons the script names frame by frame, and prints what happened.\n"
    "\n"
    "--overview draws the stage instead of playing it: one PNG picture of its\n"
    "whole width and the screen's height, with every object and enemy where it\n"
    "starts and the player at the start. --overview-all draws every stage of the\n"
    "file into DIR as <file name without .vtg>-<stage index>.png.\n"
    "\n"
    "options:\n"
    "  --frames N         play N frames (default: the script's last frame and 600 more)\n"
    "  --until-clear      stop once the stage is cleared\n"
    "  --expect-clear     exit with status 1 unless the stage was cleared\n"
    "  --save N FILE      save the picture of frame N as a PNG file (may be repeated)\n"
    "  --game-folder DIR  the game's folder (default: the folder of velta-replay, or\n"
    "                     the installed game's data folder)\n"
    "\n"
    "script lines: \"<first>-<last> <buttons>\" or \"<frame> <buttons>\", buttons among\n"
    "UP DOWN LEFT RIGHT PAUSE A B C (A throws, B jumps, C dashes); # starts a comment.\n";

// The game keeps a stage's index in one byte.
constexpr int HIGHEST_STAGE_INDEX = 255;
// As many frames as a script may name.
constexpr int MOST_FRAMES = 10'000'000;

int usageError(const std::string& message) {
    std::cerr << "velta-replay: " << message << "\n\n" << USAGE;
    return 2;
}

int runError(const std::string& message) {
    std::cerr << "velta-replay: " << message << "\n";
    return 1;
}

// A whole file's bytes; a folder is no file, although a stream opens on it.
bool readText(const std::string& file, std::string& text) {
    std::error_code error;
    if (fs::is_directory(file, error)) return false;
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) return false;
    text = bytes.str();
    return true;
}

// Digits only, nothing before or after them, from low to high.
bool numberIn(const std::string& text, int low, int high, int& value) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const int number = std::stoi(text);
    if (number < low || number > high) return false;
    value = number;
    return true;
}

std::string inQuotes(const std::string& text) {
    return "'" + text + "'";
}

// Why a picture cannot be written to file, or nothing when it can be tried.
std::string whyNotWritable(const fs::path& file) {
    std::error_code error;
    if (fs::is_directory(file, error)) return file.string() + " is a folder";
    const fs::path folder = file.parent_path();
    if (!fs::is_directory(folder, error))
        return "the folder " + folder.string() + " does not exist";
    return {};
}

// The stage overview's own words, and how many stages there are.
std::string noSuchStage(const std::string& stageFile, int stageIndex, int count) {
    std::string text = stageFile + " has no stage " + std::to_string(stageIndex);
    if (count == 0) return text + " (it holds none)";
    return text + " (it holds " + std::to_string(count) + (count == 1 ? " stage" : " stages") +
           ", counted from 0)";
}

// Every saved frame's picture was written; else says which were not and why.
bool everyFrameSaved(const ReplayOptions& options, const ReplayResult& result) {
    bool all = true;
    for (const auto& [frame, file] : options.savedFrames) {
        if (std::find(result.savedPictures.begin(), result.savedPictures.end(), file) !=
            result.savedPictures.end())
            continue;
        all = false;
        if (frame >= result.frames)
            runError("frame " + std::to_string(frame) + " was not played (the play ended after " +
                     std::to_string(result.frames) + " frames): " + file + " not written");
        else
            runError("cannot write " + file);
    }
    return all;
}

// The game's data beside velta-replay, or where an install put it.
fs::path defaultGameFolder() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error) return fs::current_path();
    return dataFolderOf(self.string());
}

// The game's data seen through links in a folder of the run's own, so that
// the player's config.ini is neither read nor written.
class ScratchGameFolder {
  public:
    explicit ScratchGameFolder(const fs::path& game) {
        std::string pattern = (fs::temp_directory_path() / "velta-replay-XXXXXX").string();
        if (!mkdtemp(pattern.data())) return;
        folder_ = pattern;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(game, error)) {
            const std::string name = entry.path().filename().string();
            if (name == "config.ini" || name == "palfile.dat") continue;
            fs::create_symlink(fs::absolute(entry.path()), folder_ / name, error);
        }
    }
    ~ScratchGameFolder() {
        std::error_code error;
        if (!folder_.empty()) fs::remove_all(folder_, error);
    }
    const fs::path& path() const { return folder_; }

  private:
    fs::path folder_;
};

// Draws one stage and writes its picture; false (with the reason on stderr) when it cannot.
bool writeOverview(const std::string& game, const std::string& stageFile, int stageIndex,
                   const fs::path& file) {
    const StageOverview overview = drawStageOverview(game, stageFile, stageIndex);
    if (!overview.drawn()) {
        std::cerr << "velta-replay: " << overview.error << "\n";
        return false;
    }
    if (!writePicture(file.string(), overview.width, overview.height, overview.rgb)) {
        std::cerr << "velta-replay: cannot write " << file.string() << "\n";
        return false;
    }
    std::cout << "overview: " << file.string() << " (" << overview.width << " x " << overview.height
              << ")\n";
    return true;
}

int writeEveryOverview(const std::string& game, const std::string& stageFile,
                       const fs::path& folder) {
    const int count = countStages(game, stageFile);
    if (count < 0) {
        std::cerr << "velta-replay: cannot read the stage file " << stageFile << "\n";
        return 1;
    }
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        std::cerr << "velta-replay: cannot make " << folder.string() << "\n";
        return 1;
    }
    if (count == 0) std::cout << stageFile << ": no stages\n";
    const std::string name = fs::path(stageFile).stem().string();
    bool allWritten = true;
    for (int index = 0; index < count; ++index) {
        const fs::path file = folder / (name + "-" + std::to_string(index) + ".png");
        allWritten = writeOverview(game, stageFile, index, file) && allWritten;
    }
    return allWritten ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    ReplayOptions options;
    bool expectClear = false;
    bool playOptions = false;
    fs::path game = defaultGameFolder();
    fs::path overview, overviewFolder;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto hasValues = [&](int count) { return i + count < argc; };
        if (arg == "--frames") {
            if (!hasValues(1)) return usageError("--frames needs a number of frames");
            const std::string text = argv[++i];
            if (!numberIn(text, 1, MOST_FRAMES, options.frames))
                return usageError("--frames is a number of frames from 1 to " +
                                  std::to_string(MOST_FRAMES) + ", not " + inQuotes(text));
            playOptions = true;
        } else if (arg == "--until-clear") {
            options.untilClear = playOptions = true;
        } else if (arg == "--expect-clear") {
            expectClear = playOptions = true;
        } else if (arg == "--save") {
            if (!hasValues(2)) return usageError("--save needs a frame number and a file");
            const std::string text = argv[++i];
            int frame = 0;
            if (!numberIn(text, 0, MOST_FRAMES - 1, frame))
                return usageError("--save: the frame is a number from 0 to " +
                                  std::to_string(MOST_FRAMES - 1) + ", not " + inQuotes(text));
            const fs::path file = fs::absolute(argv[++i]);
            if (const std::string problem = whyNotWritable(file); !problem.empty())
                return usageError("--save " + text + " " + file.string() + ": " + problem);
            options.savedFrames.emplace_back(frame, file.string());
            playOptions = true;
        } else if (arg == "--game-folder") {
            if (!hasValues(1)) return usageError("--game-folder needs a folder");
            game = argv[++i];
        } else if (arg == "--overview") {
            if (!hasValues(1)) return usageError("--overview needs a file");
            overview = fs::absolute(argv[++i]);
            if (const std::string problem = whyNotWritable(overview); !problem.empty())
                return usageError("--overview " + overview.string() + ": " + problem);
        } else if (arg == "--overview-all") {
            if (!hasValues(1)) return usageError("--overview-all needs a folder");
            overviewFolder = fs::absolute(argv[++i]);
        } else if (arg == "--help" || arg == "-h") {
            std::cout << USAGE;
            return 0;
        } else if (arg.size() > 1 && arg[0] == '-' &&
                   !std::isdigit(static_cast<unsigned char>(arg[1]))) {
            // "-1" is a number for the stage index to refuse, not an option.
            return usageError("unknown option " + arg);
        } else {
            positional.push_back(arg);
        }
    }
    const bool drawing = !overview.empty() || !overviewFolder.empty();
    if (drawing && playOptions) return usageError("an overview is drawn, not played");
    if (!overview.empty() && !overviewFolder.empty())
        return usageError("--overview or --overview-all, not both");
    if (!overviewFolder.empty() && positional.size() != 1)
        return usageError("--overview-all takes a stage file");
    if (!overview.empty() && positional.size() != 2)
        return usageError("--overview takes a stage file and a stage index");
    if (!drawing && positional.size() != 3)
        return usageError("a stage file, a stage index and a script");
    std::error_code folderError;
    if (!fs::is_directory(game, folderError))
        return usageError("the game folder " + game.string() + " does not exist");
    options.stageFile = positional[0];
    if (positional.size() > 1 &&
        !numberIn(positional[1], 0, HIGHEST_STAGE_INDEX, options.stageIndex))
        return usageError("the stage index is a number from 0 to " +
                          std::to_string(HIGHEST_STAGE_INDEX) + ", not " + inQuotes(positional[1]));
    if (!drawing) {
        std::string text, error;
        const std::string& scriptFile = positional[2];
        if (fs::is_directory(scriptFile, folderError))
            return usageError(scriptFile + " is a folder, not a script");
        if (!readText(scriptFile, text)) return usageError("cannot read " + scriptFile);
        if (!parseReplayScript(text, options.script, error))
            return usageError(scriptFile + ": " + error);
        // Without --frames the play's length is known only once it is over.
        for (const auto& [frame, file] : options.savedFrames)
            if (options.frames > 0 && frame >= options.frames)
                return usageError("--save " + std::to_string(frame) + ": frame " +
                                  std::to_string(frame) + " is past the " +
                                  std::to_string(options.frames) + " frames played");
    }

    ScratchGameFolder scratch(game);
    if (scratch.path().empty()) return runError("cannot make a scratch folder");
    options.gameFolder = scratch.path().string();
    if (!overviewFolder.empty())
        return writeEveryOverview(options.gameFolder, options.stageFile, overviewFolder);

    const int count = countStages(options.gameFolder, options.stageFile);
    if (count < 0) return runError("cannot read the stage file " + options.stageFile);
    if (options.stageIndex >= count)
        return runError(noSuchStage(options.stageFile, options.stageIndex, count));
    if (!overview.empty())
        return writeOverview(options.gameFolder, options.stageFile, options.stageIndex, overview)
                   ? 0
                   : 1;

    const ReplayResult result = runReplay(options);
    std::cout << describeReplay(result);
    const bool saved = everyFrameSaved(options, result);
    if (!result.started || !saved) return 1;
    return expectClear && result.clearFrame < 0 ? 1 : 0;
}
