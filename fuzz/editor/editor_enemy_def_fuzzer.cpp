// An enemy definition (dat/e00.dat) as the editor reads it at start-up, then
// drawn on the canvas as the enemy of that kind is.
#include "support/editor_session.h"
#include "support/scratch_folder.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>

namespace {

constexpr size_t LARGEST_INPUT = 8 * 1024;

const std::filesystem::path& datFolder() {
    static const std::filesystem::path folder = fuzz::freshSubfolder("editor-dat");
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > LARGEST_INPUT) return 0;
    fuzz::startEditorApplication();
    fuzz::writeBytes(datFolder() / "e00.dat", data, size);
    QStringList problems;
    const EnemyDefinitions definitions =
        readEnemyDefinitions(QString::fromStdString(datFolder().string()), problems);
    static const auto slot = std::make_unique<StageSlot>();
    slot->clear();
    slot->placeEnemy(4 * CELL, 12 * CELL, 0);
    slot->placeObject(5 * CELL, 12 * CELL, 1);
    fuzz::drawSlotViews(*slot, definitions);
    return 0;
}
