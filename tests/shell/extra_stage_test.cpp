// The extra-stage selection: pages, the EXIT row, fast moves with B held.
#include "platform/headless/headless.h"
#include "platform/virtual_keys.h"
#include "shell/scene_machine.h"
#include "shell/scenes.h"
#include "shell/stage_list.h"
#include "shell/startup.h"
#include "support/game_folder_fixture.h"
#include "support/game_passes.h"
#include "world/player.h"
#include "world/world.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

bool inTitleAtRest() {
    return sceneNumber == SCENE_TITLE && fadeState == FADE_NONE;
}
bool inSelectionAtRest() {
    return sceneNumber == SCENE_EXTRA_STAGE && fadeState == FADE_NONE;
}
bool leftTheSelection() {
    return sceneNumber != SCENE_EXTRA_STAGE && fadeState == FADE_NONE;
}

// Boots in debug mode with the given number of extra stage files and opens the selection.
void openSelection(GameFolderFixture& game, int files) {
    std::filesystem::create_directories(game.folder() / "stage");
    for (int i = 0; i < files; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "extra%02d.vtg", i);
        // Each file starts its games with a different number of lives.
        writeTextFile(game.folder() / "stage" / name, "A comment\r\nAn author\r\nWell done\r\n" +
                                                          std::to_string(3 + i) + "\r\n2\r\nend;");
    }
    ASSERT_TRUE(startUp("/D"));
    ASSERT_TRUE(runPassesUntil(inTitleAtRest));
    ASSERT_EQ(stageList.size(), size_t(files));
    while (titleCursor() != 1)
        ASSERT_TRUE(tapKey(titleCursor() < 1 ? VK_DOWN : VK_UP));
    ASSERT_TRUE(tapKey(VK_Z));
    ASSERT_TRUE(runPassesUntil(inSelectionAtRest));
}

void tapWithBHeld(int vk) {
    headless::setKey(VK_X, true);
    ASSERT_TRUE(runPasses(2)); // B pressed, then held
    ASSERT_TRUE(tapKey(vk));
    headless::setKey(VK_X, false);
    ASSERT_TRUE(runPasses(3));
}

} // namespace

TEST(ExtraStageSelection, PagesOfTwentyThreeRows) {
    GameFolderFixture game("extra-pages");
    openSelection(game, 30);
    for (int i = 0; i < 22; ++i)
        ASSERT_TRUE(tapKey(VK_DOWN));
    EXPECT_EQ(extraStageCursor(), 22);
    EXPECT_EQ(extraStageTopRow(), 0);
    ASSERT_TRUE(tapKey(VK_DOWN));
    EXPECT_EQ(extraStageCursor(), 23);
    EXPECT_EQ(extraStageTopRow(), 23);
    tapWithBHeld(VK_DOWN);
    EXPECT_EQ(extraStageCursor(), 30) << "stops at the EXIT row";
    tapWithBHeld(VK_UP);
    EXPECT_EQ(extraStageCursor(), 7);
    EXPECT_EQ(extraStageTopRow(), 0);
    tapWithBHeld(VK_UP);
    EXPECT_EQ(extraStageCursor(), 0);
}

TEST(ExtraStageSelection, ExactlyOnePageLeavesTheExitRowAlone) {
    GameFolderFixture game("extra-23");
    openSelection(game, 23);
    tapWithBHeld(VK_DOWN);
    EXPECT_EQ(extraStageCursor(), 23);
    EXPECT_EQ(extraStageTopRow(), 23);
    ASSERT_TRUE(tapKey(VK_Z));
    ASSERT_TRUE(runPassesUntil(leftTheSelection));
    EXPECT_EQ(sceneNumber, SCENE_TITLE);
    EXPECT_EQ(extraStageCursor(), 0);
}

TEST(ExtraStageSelection, ChoosingAFileStartsANewGame) {
    GameFolderFixture game("extra-choose");
    openSelection(game, 3);
    ASSERT_TRUE(tapKey(VK_DOWN));
    player.lives = 0;
    ASSERT_TRUE(tapKey(VK_Z));
    ASSERT_TRUE(runPassesUntil(leftTheSelection));
    EXPECT_EQ(sceneNumber, SCENE_GAMEPLAY);
    EXPECT_EQ(world.fileName, "EXTRA01.VTG") << "the name as the list holds it";
    EXPECT_EQ(player.lives, 4) << "the chosen file's starting lives: a new game on it";
    EXPECT_EQ(world.newGameFlag, 0) << "consumed by the load";
}

TEST(ExtraStageSelection, EmptyListLeadsBackToTheTitle) {
    GameFolderFixture game("extra-empty");
    openSelection(game, 0);
    ASSERT_TRUE(tapKey(VK_Z));
    ASSERT_TRUE(runPassesUntil(leftTheSelection));
    EXPECT_EQ(sceneNumber, SCENE_TITLE);
}

TEST(ExtraStageSelection, LongNamesAreShortened) {
    const struct {
        const char* name;
        const char* shown;
    } cases[] = {{"SHORT.VTG", "SHORT.VTG"},
                 {"THIRTEEN1.VTG", "THIRTEEN1.VTG"},
                 {"FOURTEEN12.VTG", "FOURTEEN1e.VTG"},
                 {"A_VERY_LONG_STAGE_NAME.VTG", "A_VERY_LOe.VTG"}};
    for (const auto& c : cases)
        EXPECT_EQ(shownStageName(c.name), c.shown) << c.name;
}
