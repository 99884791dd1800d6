// editor/exp.dat and velta.html: the editor's explanations and its help page;
// editor/exp_en.dat, the explanations in English, when their source is there.
#include "builders.h"
#include "common/file_io.h"
#include "explanations.h"
#include "help_page.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

int reportErrors(const std::vector<std::string>& errors) {
    for (const auto& error : errors)
        std::fprintf(stderr, "texts: %s\n", error.c_str());
    return errors.empty() ? 0 : 1;
}

} // namespace

int buildTexts(const std::string& assetsDir, const std::string& gameDir) {
    const fs::path explanationSource = fs::path(assetsDir) / "texts" / "exp.dat.utf8";
    const fs::path helpSource = fs::path(assetsDir) / "help" / "velta.html";
    const fs::path explanationTarget = fs::path(gameDir) / "editor" / "exp.dat";
    const fs::path helpTarget = fs::path(gameDir) / "velta.html";

    const std::optional<std::string> source = readFileText(explanationSource.string());
    if (!source) {
        std::fprintf(stderr, "texts: cannot read %s\n", explanationSource.c_str());
        return 1;
    }
    const std::optional<std::string> page = readFileText(helpSource.string());
    if (!page) {
        std::fprintf(stderr, "texts: cannot read %s\n", helpSource.c_str());
        return 1;
    }

    std::vector<std::string> errors;
    const ExplanationSet explanations = parseExplanations(*source, explanationSource, errors);
    if (!errors.empty()) return reportErrors(errors);
    const std::string explanationFile =
        writeExplanationFile(explanations, explanationSource, errors);
    const std::string helpPage = expandHelpPage(*page, explanations, helpSource, errors);
    if (!errors.empty()) return reportErrors(errors);

    // Both are written beside their targets and renamed over them, so an
    // interrupted build never leaves a half-written file for the editor.
    for (const auto& [target, contents] :
         {std::pair{explanationTarget, &explanationFile}, std::pair{helpTarget, &helpPage}}) {
        std::string error;
        if (!writeFileIfChanged(target.string(),
                                std::vector<uint8_t>(contents->begin(), contents->end()), error)) {
            std::fprintf(stderr, "texts: %s\n", error.c_str());
            return 1;
        }
    }
    std::printf("texts: %s, %s\n", explanationTarget.c_str(), helpTarget.c_str());

    // The English explanations: the same form, read by the editor in English.
    const fs::path englishSource = fs::path(assetsDir) / "texts" / "exp_en.dat.utf8";
    const fs::path englishTarget = fs::path(gameDir) / "editor" / "exp_en.dat";
    if (!fs::exists(englishSource)) return 0;
    const std::optional<std::string> english = readFileText(englishSource.string());
    if (!english) {
        std::fprintf(stderr, "texts: cannot read %s\n", englishSource.c_str());
        return 1;
    }
    const ExplanationSet englishSet = parseExplanations(*english, englishSource, errors);
    if (!errors.empty()) return reportErrors(errors);
    const std::string englishFile = writeExplanationFile(englishSet, englishSource, errors);
    if (!errors.empty()) return reportErrors(errors);
    std::string error;
    if (!writeFileIfChanged(englishTarget.string(),
                            std::vector<uint8_t>(englishFile.begin(), englishFile.end()), error)) {
        std::fprintf(stderr, "texts: %s\n", error.c_str());
        return 1;
    }
    std::printf("texts: %s\n", englishTarget.c_str());
    return 0;
}
