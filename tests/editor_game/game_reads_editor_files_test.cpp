// The game's own stage reader on files the editor wrote: what the designer
// placed is what the game loads, stage by stage.
#include "stage/stage_file.h"
#include "stage_file_io.h"

#include "platform/paths.h"
#include "support/fixture_files.h"

#include <QString>

#include <gtest/gtest.h>

#include <memory>

namespace {

std::vector<StageRecord> recordsOf(const auto& records) {
    std::vector<StageRecord> kept;
    for (const PlacedRecord& r : records)
        if (r.inUse && r.x >= 0 && r.y >= 0 && r.y <= 255) kept.push_back({r.x, r.y, r.kind});
    return kept;
}

TEST(GameReadsEditorFiles, EveryWrittenStageLoadsAsPlacedCountingOnlyFilledSlots) {
    const std::string folder = makeTempFolder("editor-game").string() + "/";
    std::filesystem::create_directories(folder + "stage");
    setGameFolderFromExecutable(folder + "velta");

    auto set = std::make_unique<StageSet>();
    set->reset();
    set->clearMessage = QString::fromUtf8("おめでとう^Well done");
    set->startingLives = 9;
    // Slot "1 - 1" full, "1 - 2" empty, "1 - 3" with enemies only, "1 - 4"
    // with records the file cannot hold.
    StageSlot& full = set->stageSlots[0];
    full.musicName = "stage1.mid";
    for (int i = 0; i < OBJECT_SLOTS; ++i)
        full.placeObject(16 * (i / 16), 16 * (i % 16), uint8_t(1 + i % 255));
    for (int i = 0; i < ENEMY_SLOTS; ++i)
        full.placeEnemy(32 * i, 240, uint8_t(i % 16));
    StageSlot& enemiesOnly = set->stageSlots[2];
    enemiesOnly.background = 1;
    enemiesOnly.musicName = "null";
    enemiesOnly.placeEnemy(64, 160, 2);
    StageSlot& moved = set->stageSlots[3];
    moved.placeObject(0, 0, 5);
    moved.moveBy(0, -16); // off the top: dropped
    moved.placeObject(32, 240, 6);
    moved.placeEnemy(-16, 64, 1); // off the left: dropped

    QString error;
    ASSERT_TRUE(writeStageFile(QString::fromStdString(folder + "stage/editor.vtg"), *set, error));

    const StageSlot* expected[] = {&full, &enemiesOnly, &moved};
    for (int index = 0; index < 3; ++index) {
        SCOPED_TRACE(index);
        const StageRead read = readStageFile("editor.vtg", index);
        ASSERT_TRUE(read.found);
        EXPECT_EQ(read.clearMessage, "\x82\xA8\x82\xDF\x82\xC5\x82\xC6\x82\xA4^Well done\n");
        EXPECT_EQ(read.startingLives, 9);
        EXPECT_EQ(read.musicName, expected[index]->musicName.toStdString() + "\n");
        EXPECT_EQ(read.background, expected[index]->background);
        EXPECT_EQ(read.objects, recordsOf(expected[index]->objects));
        EXPECT_EQ(read.enemies, recordsOf(expected[index]->enemies));
    }
    EXPECT_FALSE(readStageFile("editor.vtg", 3).met) << "three filled slots make three stages";
}

} // namespace
