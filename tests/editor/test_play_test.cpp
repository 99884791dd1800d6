#include "stage_file_io.h"
#include "support/editor_forms.h"
#include "test_play.h"

#include <QFile>
#include <QTimer>

#include <filesystem>

namespace {

class TestPlay : public EditorForms {
  protected:
    // A stand-in for the game that notes its command line, its folder and
    // the scratch file it was given.
    void installStandInGame() {
        const QString script = "#!/bin/sh\n"
                               "printf '%s\\n' \"$*\" > played.txt\n"
                               "pwd >> played.txt\n"
                               "cp \"stage/$3\" seen.vtg\n";
        writeBytes(folder.gamePath("velta"), script.toUtf8());
        std::filesystem::permissions(folder.game() / "velta", std::filesystem::perms::owner_all);
    }
    QStringList played() {
        return QString::fromUtf8(fileBytes(folder.gamePath("played.txt"))).split('\n');
    }
};

TEST_F(TestPlay, StartsTheGameOnTheStageBeingEditedAndRemovesTheScratchFile) {
    installStandInGame();
    stageSet().stageSlots[0].placeObject(0, 224, 1);
    stageSet().stageSlots[1].placeObject(16, 224, 1);
    takeAsOpened();
    main->slotList()->setCurrentIndex(1); // "1 - 2"
    main->cmbStageChange();
    const QByteArray expectedFile = stageFileBytes(stageSet());
    main->estPlay1Click();
    const QStringList lines = played();
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], "01 00000144 __ed.vtg");
    EXPECT_EQ(std::filesystem::canonical(lines[1].toStdString()),
              std::filesystem::canonical(folder.game()));
    EXPECT_EQ(fileBytes(folder.gamePath("seen.vtg")), expectedFile);
    EXPECT_FALSE(QFile::exists(folder.stageFile("__ed.vtg")));
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_FALSE(main->modified());
    EXPECT_EQ(main->fileName(), "Untitled");
}

// The editor keeps drawing itself while the game runs, but takes no input
// and does not close.
TEST_F(TestPlay, WhileTheGameRunsTheEditorDrawsButTakesNoInput) {
    writeBytes(folder.gamePath("velta"), "#!/bin/sh\nsleep 1\n");
    std::filesystem::permissions(folder.game() / "velta", std::filesystem::perms::owner_all);
    main->show();
    stageSet().current().placeObject(0, 224, 1);
    bool looked = false, mainEnabled = true, selectorEnabled = true, closed = true;
    QTimer::singleShot(300, [&] {
        looked = true;
        mainEnabled = main->isEnabled();
        selectorEnabled = selector->isEnabled();
        closed = main->close();
    });
    main->estPlay1Click();
    EXPECT_TRUE(looked) << "events were served while the game ran";
    EXPECT_FALSE(mainEnabled);
    EXPECT_FALSE(selectorEnabled);
    EXPECT_FALSE(closed);
    EXPECT_TRUE(main->isEnabled());
    EXPECT_TRUE(selector->isEnabled());
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(TestPlay, TheStageFieldCountsTheStagesTheGameWillFind) {
    const struct {
        const char* label;
        std::vector<int> filled;
        int current;
        int32_t viewLeft;
        QStringList expected;
    } cases[] = {
        {"from the start", {0}, 0, 0, {"00", "00000144", "__ed.vtg"}},
        {"every slot before filled", {0, 1, 2, 3, 4}, 4, 1328, {"04", "00001472", "__ed.vtg"}},
        {"empty slots before", {2, 7, 20}, 20, 16, {"02", "00000160", "__ed.vtg"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        stageSet().reset();
        for (int slot : c.filled)
            stageSet().stageSlots[size_t(slot)].placeObject(0, 0, 1);
        stageSet().currentSlot = uint8_t(c.current);
        stageSet().viewLeft = c.viewLeft;
        EXPECT_EQ(testPlayArguments(stageSet()), c.expected);
    }
    // A slot holding only records the file drops (below the stage) gets no block.
    stageSet().reset();
    stageSet().stageSlots[0].placeObject(0, 256, 1);
    stageSet().stageSlots[1].placeObject(0, 0, 1);
    stageSet().currentSlot = 1;
    EXPECT_EQ(testPlayArguments(stageSet())[0], "00");
}

TEST_F(TestPlay, AMissingGameIsReportedAndTheScratchFileRemoved) {
    stageSet().current().placeObject(0, 0, 1);
    main->estPlay1Click();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "ｹﾞｰﾑ本体の実行ﾌｧｲﾙvelta.exeを起動できません。");
    EXPECT_EQ(dialogs.boxes[0].caption, "ｴﾗｰ");
    EXPECT_EQ(dialogs.boxes[0].icon, Dialogs::Icon::Error);
    // Left behind, the game would list it as one more extra stage file.
    EXPECT_FALSE(QFile::exists(folder.stageFile("__ed.vtg")));
}

TEST_F(TestPlay, HoweverTheGameEndsTheScratchFileIsRemoved) {
    const struct {
        const char* label;
        QByteArray game; // empty: no game at all
        std::filesystem::perms permissions;
        bool started;
    } cases[] = {
        {"the game is missing", "", std::filesystem::perms::owner_all, false},
        {"the game cannot be run", "#!/bin/sh\nexit 0\n", std::filesystem::perms::owner_read,
         false},
        {"the game fails", "#!/bin/sh\nexit 3\n", std::filesystem::perms::owner_all, true},
        {"the game crashes", "#!/bin/sh\nkill -SEGV $$\n", std::filesystem::perms::owner_all, true},
        {"the game is killed", "#!/bin/sh\nkill -KILL $$\n", std::filesystem::perms::owner_all,
         true},
    };
    stageSet().current().placeObject(0, 0, 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::filesystem::remove(folder.game() / "velta");
        if (!c.game.isEmpty()) {
            writeBytes(folder.gamePath("velta"), c.game);
            std::filesystem::permissions(folder.game() / "velta", c.permissions);
        }
        dialogs.boxes.clear();
        main->estPlay1Click();
        EXPECT_EQ(dialogs.boxes.size(), c.started ? 0u : 1u);
        EXPECT_FALSE(QFile::exists(folder.stageFile("__ed.vtg")));
        EXPECT_TRUE(std::filesystem::is_empty(folder.game() / "stage"));
    }
}

TEST_F(TestPlay, AnEmptySlotHasNothingToPlay) {
    installStandInGame();
    main->estPlay1Click();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].caption, "警告");
    EXPECT_FALSE(QFile::exists(folder.gamePath("played.txt")));
}

TEST_F(TestPlay, AScratchFileThatCannotBeWrittenStopsBeforeTheGame) {
    installStandInGame();
    stageSet().current().placeObject(0, 0, 1);
    std::filesystem::remove_all(folder.game() / "stage");
    main->estPlay1Click();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_TRUE(dialogs.boxes[0].text.startsWith(folder.stageFile("__ed.vtg")));
    EXPECT_FALSE(QFile::exists(folder.gamePath("played.txt")));
}

} // namespace
