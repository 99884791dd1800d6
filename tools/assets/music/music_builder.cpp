// Compiles every tune source assets/music/<name>.tune into <game>/bgm/<name>.mid.
#include "builders.h"
#include "common/file_io.h"

#include "common/diagnostics.h"
#include "smf_writer.h"
#include "tune_parser.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool buildOneTune(const fs::path& source, const fs::path& bgmDir) {
    const std::optional<std::string> text = readFileText(source.string());
    if (!text) {
        std::fprintf(stderr, "%s: cannot read\n", source.string().c_str());
        return false;
    }
    Diagnostics diagnostics(source.string());
    music::Tune tune;
    if (!music::parseTune(*text, tune, diagnostics)) {
        for (const std::string& message : diagnostics.messages())
            std::fprintf(stderr, "%s\n", message.c_str());
        return false;
    }
    fs::path target = bgmDir / source.stem();
    target += ".mid";
    bool written = false;
    std::string error;
    if (!writeFileIfChanged(target.string(), music::writeStandardMidi(tune), error, &written)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    if (written) {
        std::printf("music: %s, %.1f s\n", target.string().c_str(),
                    music::secondsAt(tune, tune.length));
    }
    return true;
}

} // namespace

int buildMusic(const std::string& assetsDir, const std::string& gameDir) {
    fs::path sourceDir = fs::path(assetsDir) / "music";
    std::error_code error;
    std::vector<fs::path> sources;
    for (const fs::directory_entry& entry : fs::directory_iterator(sourceDir, error)) {
        if (entry.is_regular_file() && entry.path().extension() == ".tune")
            sources.push_back(entry.path());
    }
    if (error || sources.empty()) {
        std::fprintf(stderr, "%s: no tune sources\n", sourceDir.string().c_str());
        return 1;
    }
    std::sort(sources.begin(), sources.end());
    fs::path bgmDir = fs::path(gameDir) / "bgm";
    fs::create_directories(bgmDir, error);
    if (error) {
        std::fprintf(stderr, "%s: %s\n", bgmDir.string().c_str(), error.message().c_str());
        return 1;
    }
    int failures = 0;
    for (const fs::path& source : sources)
        failures += !buildOneTune(source, bgmDir);
    return failures == 0 ? 0 : 1;
}
