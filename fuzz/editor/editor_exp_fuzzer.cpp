// The editor's explanations file (exp.dat) as the object selector reads it
// for its status line, for the object and enemy kinds it offers.
#include "editor_paths.h"
#include "explanations.h"
#include "support/editor_session.h"
#include "support/scratch_folder.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace {

constexpr size_t LARGEST_INPUT = 32 * 1024;
constexpr int OBJECT_KINDS = 64;
constexpr int ENEMY_KINDS = 32;

const std::filesystem::path& scratchEditorFolder() {
    static const std::filesystem::path folder = [] {
        const std::filesystem::path made = fuzz::freshSubfolder("editor");
        setEditorFolder(QString::fromStdString(made.string()));
        return made;
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > LARGEST_INPUT) return 0;
    fuzz::startEditorApplication();
    fuzz::writeBytes(scratchEditorFolder() / "exp.dat", data, size);
    for (int kind = 0; kind < OBJECT_KINDS; ++kind)
        objectExplanation(kind);
    for (int kind = 0; kind < ENEMY_KINDS; ++kind)
        enemyExplanation(kind);
    return 0;
}
