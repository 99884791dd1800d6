// editor/exp.dat and velta.html: the editor's explanations and its help page.
#include "builders.h"
#include "explanations.h"
#include "help_page.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool readWholeFile(const fs::path& path, std::string& contents) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    contents = buffer.str();
    return !in.bad();
}

// Written beside the target and renamed over it, so an interrupted build
// never leaves a half-written file for the editor to read.
bool writeWholeFile(const fs::path& path, const std::string& contents) {
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (error) return false;
    const fs::path temporary = path.string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
        out.close();
        if (!out) {
            fs::remove(temporary, error);
            return false;
        }
    }
    fs::rename(temporary, path, error);
    if (error) fs::remove(temporary, error);
    return !error;
}

int reportErrors(const std::vector<std::string>& errors) {
    for (const auto& error : errors) std::fprintf(stderr, "texts: %s\n", error.c_str());
    return errors.empty() ? 0 : 1;
}

} // namespace

int buildTexts(const std::string& assetsDir, const std::string& gameDir) {
    const fs::path explanationSource = fs::path(assetsDir) / "texts" / "exp.dat.utf8";
    const fs::path helpSource = fs::path(assetsDir) / "help" / "velta.html";
    const fs::path explanationTarget = fs::path(gameDir) / "editor" / "exp.dat";
    const fs::path helpTarget = fs::path(gameDir) / "velta.html";

    std::string source;
    if (!readWholeFile(explanationSource, source)) {
        std::fprintf(stderr, "texts: cannot read %s\n", explanationSource.c_str());
        return 1;
    }
    std::string page;
    if (!readWholeFile(helpSource, page)) {
        std::fprintf(stderr, "texts: cannot read %s\n", helpSource.c_str());
        return 1;
    }

    std::vector<std::string> errors;
    const ExplanationSet explanations = parseExplanations(source, explanationSource, errors);
    if (!errors.empty()) return reportErrors(errors);
    const std::string explanationFile =
        writeExplanationFile(explanations, explanationSource, errors);
    const std::string helpPage = expandHelpPage(page, explanations, helpSource, errors);
    if (!errors.empty()) return reportErrors(errors);

    if (!writeWholeFile(explanationTarget, explanationFile)) {
        std::fprintf(stderr, "texts: cannot write %s\n", explanationTarget.c_str());
        return 1;
    }
    if (!writeWholeFile(helpTarget, helpPage)) {
        std::fprintf(stderr, "texts: cannot write %s\n", helpTarget.c_str());
        return 1;
    }
    std::printf("texts: %s, %s\n", explanationTarget.c_str(), helpTarget.c_str());
    return 0;
}
