// velta-replay: plays a stage of a stage file from an input script on the
// headless backend and prints what happened. See replay_script.h for the
// script format.
#include "replay/replay_runner.h"

#include <unistd.h>

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
    "\n"
    "Plays stage <stage index> (counted from 0) of <stage file>, a file in the\n"
    "game folder's \"stage\" folder, as a new game started there, holding the\n"
    "buttons the script names frame by frame, and prints what happened.\n"
    "\n"
    "options:\n"
    "  --frames N         play N frames (default: the script's last frame and 600 more)\n"
    "  --until-clear      stop once the stage is cleared\n"
    "  --expect-clear     exit with status 1 unless the stage was cleared\n"
    "  --save N FILE      save the picture of frame N as a PNG file (may be repeated)\n"
    "  --game-folder DIR  the game's folder (default: the folder of velta-replay)\n"
    "\n"
    "script lines: \"<first>-<last> <buttons>\" or \"<frame> <buttons>\", buttons among\n"
    "UP DOWN LEFT RIGHT PAUSE A B C (A throws, B jumps, C dashes); # starts a comment.\n";

int usageError(const std::string& message) {
    std::cerr << "velta-replay: " << message << "\n\n" << USAGE;
    return 2;
}

bool readText(const std::string& file, std::string& text) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    text = bytes.str();
    return true;
}

bool wholeNumber(const std::string& text, int& value) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    value = std::stoi(text);
    return true;
}

fs::path executableFolder() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::current_path() : self.parent_path();
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

} // namespace

int main(int argc, char** argv) {
    ReplayOptions options;
    bool expectClear = false;
    fs::path game = executableFolder();
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--frames" && i + 1 < argc) {
            if (!wholeNumber(argv[++i], options.frames))
                return usageError("--frames needs a number");
        } else if (arg == "--until-clear") {
            options.untilClear = true;
        } else if (arg == "--expect-clear") {
            expectClear = true;
        } else if (arg == "--save" && i + 2 < argc) {
            int frame = 0;
            if (!wholeNumber(argv[++i], frame)) return usageError("--save needs a frame number");
            options.savedFrames.emplace_back(frame, fs::absolute(argv[++i]).string());
        } else if (arg == "--game-folder" && i + 1 < argc) {
            game = argv[++i];
        } else if (arg == "--help" || arg == "-h") {
            std::cout << USAGE;
            return 0;
        } else if (!arg.empty() && arg[0] == '-') {
            return usageError("unknown option " + arg);
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 3) return usageError("a stage file, a stage index and a script");
    options.stageFile = positional[0];
    if (!wholeNumber(positional[1], options.stageIndex))
        return usageError("the stage index is a number from 0");
    std::string text, error;
    if (!readText(positional[2], text)) return usageError("cannot read " + positional[2]);
    if (!parseReplayScript(text, options.script, error))
        return usageError(positional[2] + ": " + error);

    ScratchGameFolder scratch(game);
    if (scratch.path().empty()) return usageError("cannot make a scratch folder");
    options.gameFolder = scratch.path().string();
    const ReplayResult result = runReplay(options);
    std::cout << describeReplay(result);
    if (!result.started) return 1;
    return expectClear && result.clearFrame < 0 ? 1 : 0;
}
