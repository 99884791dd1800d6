// A stage file as the editor opens it. What opens is saved and opened again,
// which must work, and saved once more, which should give the same file
// (see roundTripAborts); the first stages are drawn as the canvas draws
// them, before and after moving the whole stage a cell each way.
#include "stage_file_io.h"
#include "support/editor_session.h"
#include "support/scratch_folder.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr size_t LARGEST_INPUT = 64 * 1024;
constexpr int DRAWN_SLOTS = 3;
constexpr const char* BLOCK_MARKER = "stage_begin";

// True when the files differ only in text lines (comment, author, clear
// message, music names): what a text conversion can change.
bool onlyTextsDiffer(const QByteArray& first, const QByteArray& second) {
    const QList<QByteArray> a = first.split('\n'), b = second.split('\n');
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i] == b[i]) continue;
        const bool headerText = i < 3;
        const bool musicLine = i > 0 && a[i - 1].trimmed() == BLOCK_MARKER;
        if (!headerText && !musicLine) return false;
    }
    return true;
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
    if (!parseStageFile(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), *opened,
                        error))
        return 0;
    const QByteArray saved = stageFileBytes(*opened);
    if (!parseStageFile(saved, *reopened, error)) {
        std::fprintf(stderr, "the editor cannot open the file it saved: %s\n", qPrintable(error));
        std::abort();
    }
    const QByteArray savedAgain = stageFileBytes(*reopened);
    if (savedAgain != saved)
        fuzz::roundTripDiffers(onlyTextsDiffer(saved, savedAgain)
                                   ? "saving again changes a text line"
                                   : "saving again changes the stages");
    drawAndMove(*opened);
    return 0;
}
