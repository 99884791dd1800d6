// A stage file as the editor opens it. What opens is saved and opened again,
// which must work, and saved once more, which must give the same file, texts
// byte for byte; the first stages are drawn as the canvas draws them, before
// and after moving the whole stage a cell each way.
#include "stage_file_io.h"
#include "support/editor_session.h"
#include "support/scratch_folder.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr size_t LARGEST_INPUT = 64 * 1024;
constexpr int DRAWN_SLOTS = 3;

[[noreturn]] void fail(const char* what, const QString& detail = {}) {
    std::fprintf(stderr, "%s%s\n", what, qPrintable(detail));
    std::abort();
}

void drawAndMove(StageSet& set) {
    int drawn = 0;
    for (StageSlot& slot : set.stageSlots) {
        if (drawn == DRAWN_SLOTS) break;
        if (slot.empty()) continue;
        fuzz::drawSlotViews(slot, fuzz::builtEnemyDefinitions());
        slot.moveBy(CELL, CELL);
        fuzz::drawSlotViews(slot, fuzz::builtEnemyDefinitions());
        slot.moveBy(-2 * CELL, -2 * CELL);
        fuzz::drawSlotViews(slot, fuzz::builtEnemyDefinitions());
        ++drawn;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > LARGEST_INPUT) return 0;
    fuzz::startEditorApplication();
    // A stage set is large: two are kept for the process.
    static const auto opened = std::make_unique<StageSet>();
    static const auto reopened = std::make_unique<StageSet>();
    QString error;
    QStringList warnings;
    if (!parseStageFile(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), *opened,
                        error, &warnings))
        return 0;
    const QByteArray saved = stageFileBytes(*opened);
    warnings.clear();
    if (!parseStageFile(saved, *reopened, error, &warnings))
        fail("the editor cannot open the file it saved: ", error);
    if (!warnings.isEmpty()) fail("the file the editor saved opens with a warning: ", warnings[0]);
    if (stageFileBytes(*reopened) != saved) fail("saving again changes the file");
    drawAndMove(*opened);
    return 0;
}
