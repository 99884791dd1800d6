// A stage file as the asset builder's import command takes it: turned back
// into a stage source, which the command checks by building it again.
#include "stages/stage_import.h"
#include "support/scratch_folder.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

constexpr size_t LARGEST_INPUT = 64 * 1024;

const std::filesystem::path& importFolder() {
    static const std::filesystem::path folder = [] {
        // The command reports every file it writes.
        if (!std::freopen("/dev/null", "w", stdout)) std::perror("velta fuzz: stdout");
        return fuzz::freshSubfolder("import");
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > LARGEST_INPUT) return 0;
    const std::filesystem::path stageFile = importFolder() / "fuzz.vtg";
    const std::filesystem::path sourceFile = importFolder() / "fuzz.stages";
    fuzz::writeBytes(stageFile, data, size);
    importStageFile(VELTA_FUZZ_ASSETS_DIR, stageFile.string(), sourceFile.string());
    std::error_code ignored;
    std::filesystem::remove(sourceFile, ignored);
    return 0;
}
