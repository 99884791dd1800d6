// Compiles every tune source assets/music/<name>.tune into <game>/bgm/<name>.mid.
#include "builders.h"

#include "diagnostics.h"
#include "smf_writer.h"
#include "tune_parser.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool readWholeFile(const fs::path& path, std::string& contents) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    contents = buffer.str();
    return true;
}

// Leaves an unchanged file alone so its time stamp does not trigger
// rebuilds or copies of everything downstream.
bool writeIfChanged(const fs::path& path, const std::vector<std::uint8_t>& bytes, bool& written) {
    std::string existing;
    written = false;
    if (readWholeFile(path, existing) && existing.size() == bytes.size() &&
        std::equal(bytes.begin(), bytes.end(), existing.begin(),
                   [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); })) {
        return true;
    }
    fs::path temporary = path;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) return false;
    }
    std::error_code error;
    fs::rename(temporary, path, error);
    written = !error;
    return !error;
}

bool buildOneTune(const fs::path& source, const fs::path& bgmDir) {
    std::string text;
    if (!readWholeFile(source, text)) {
        std::fprintf(stderr, "%s: cannot read\n", source.string().c_str());
        return false;
    }
    music::Diagnostics diagnostics(source.string());
    music::Tune tune;
    if (!music::parseTune(text, tune, diagnostics)) {
        for (const std::string& message : diagnostics.messages()) std::fprintf(stderr, "%s\n", message.c_str());
        return false;
    }
    fs::path target = bgmDir / source.stem();
    target += ".mid";
    bool written = false;
    if (!writeIfChanged(target, music::writeStandardMidi(tune), written)) {
        std::fprintf(stderr, "%s: cannot write\n", target.string().c_str());
        return false;
    }
    if (written) {
        std::printf("music: %s, %.1f s\n", target.string().c_str(), music::secondsAt(tune, tune.length));
    }
    return true;
}

} // namespace

int buildMusic(const std::string& assetsDir, const std::string& gameDir) {
    fs::path sourceDir = fs::path(assetsDir) / "music";
    std::error_code error;
    std::vector<fs::path> sources;
    for (const fs::directory_entry& entry : fs::directory_iterator(sourceDir, error)) {
        if (entry.is_regular_file() && entry.path().extension() == ".tune") sources.push_back(entry.path());
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
    for (const fs::path& source : sources) failures += !buildOneTune(source, bgmDir);
    return failures == 0 ? 0 : 1;
}
