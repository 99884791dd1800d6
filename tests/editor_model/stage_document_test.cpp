// The stage document without any window: each operation, what it does to
// the set, to the modified state and to the history, and its file commands.
#include "stage_document.h"

#include "stage_file_io.h"
#include "support/editor_folder.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

Selection objectKind(int kind) {
    Selection s;
    s.operation = OPERATION_OBJECT;
    s.objectKind = kind;
    return s;
}

// One object at (16, 32) of slot 0, as if the file had just been opened.
void oneObjectOpened(StageDocument& document) {
    document.rawSet().stageSlots[0].placeObject(16, 32, 4);
    document.markSaved();
}

void press(StageDocument& document, const std::function<void(StageDocument&)>& during) {
    document.beginEdit();
    during(document);
    document.endEdit();
}

TEST(StageDocument, EachOperationChangesTheSetMarksItAndCanBeUndoneOrNot) {
    const struct {
        const char* label;
        std::function<void(StageDocument&)> operation;
        bool modified;
        bool undoable;
        std::function<bool(const StageSet&)> done;
    } cases[] = {
        {"placing",
         [](StageDocument& d) { press(d, [](auto& e) { e.apply(48, 32, objectKind(7)); }); }, true,
         true, [](const StageSet& s) { return s.stageSlots[0].findObject(48, 32) != NO_RECORD; }},
        {"replacing a kind",
         [](StageDocument& d) { press(d, [](auto& e) { e.apply(16, 32, objectKind(9)); }); }, true,
         true, [](const StageSet& s) { return s.stageSlots[0].objects[0].kind == 9; }},
        {"erasing",
         [](StageDocument& d) {
             Selection eraser;
             eraser.operation = OPERATION_ERASER;
             press(d, [&](auto& e) { e.apply(16, 32, eraser); });
         },
         true, true, [](const StageSet& s) { return s.stageSlots[0].empty(); }},
        {"kind 0 is not placed",
         [](StageDocument& d) {
             press(d, [](auto& e) {
                 EXPECT_EQ(e.apply(64, 32, objectKind(0)), ApplyResult::KindNotPlaced);
             });
         },
         false, false,
         [](const StageSet& s) { return s.stageSlots[0].findObject(64, 32) == NO_RECORD; }},
        {"moving the stage",
         [](StageDocument& d) { press(d, [](auto& e) { EXPECT_TRUE(e.moveStage(16, -16)); }); },
         true, true, [](const StageSet& s) { return s.stageSlots[0].objects[0].x == 32; }},
        {"moving the stage there and back",
         [](StageDocument& d) {
             press(d, [](auto& e) {
                 e.moveStage(16, 0);
                 e.moveStage(-16, 0);
             });
         },
         false, false, [](const StageSet& s) { return s.stageSlots[0].objects[0].x == 16; }},
        {"clearing the stage", [](StageDocument& d) { d.clearStage(); }, true, true,
         [](const StageSet& s) { return s.stageSlots[0].empty(); }},
        {"the comment", [](StageDocument& d) { d.setComment("new"); }, true, false,
         [](const StageSet& s) { return s.comment == "new"; }},
        {"the author", [](StageDocument& d) { d.setAuthor("me"); }, true, false,
         [](const StageSet& s) { return s.author == "me"; }},
        {"the clear message", [](StageDocument& d) { d.setClearMessage("Yes!"); }, true, false,
         [](const StageSet& s) { return s.clearMessage == "Yes!"; }},
        {"the starting lives", [](StageDocument& d) { d.setStartingLives(9); }, true, false,
         [](const StageSet& s) { return s.startingLives == 9; }},
        {"the difficulty", [](StageDocument& d) { d.setDifficulty(3); }, true, false,
         [](const StageSet& s) { return s.difficulty == 3; }},
        {"a stage's music", [](StageDocument& d) { d.setMusic(0, "night.mid"); }, true, false,
         [](const StageSet& s) { return s.stageSlots[0].musicName == "night.mid"; }},
        {"a stage's background", [](StageDocument& d) { d.setBackground(0, 1); }, true, false,
         [](const StageSet& s) { return s.stageSlots[0].background == 1; }},
        {"an empty stage's music", [](StageDocument& d) { d.setMusic(5, "x.mid"); }, false, false,
         [](const StageSet& s) { return s.stageSlots[5].musicName == "x.mid"; }},
        {"the view", [](StageDocument& d) { d.setViewLeft(320); }, false, false,
         [](const StageSet& s) { return s.viewLeft == 320; }},
        {"the slot shown", [](StageDocument& d) { d.setCurrentSlot(7); }, false, false,
         [](const StageSet& s) { return s.currentSlot == 7 && s.viewLeft == 0; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        StageDocument document;
        oneObjectOpened(document);
        int changed = 0;
        QObject::connect(&document, &StageDocument::changed, [&changed] { ++changed; });
        c.operation(document);
        EXPECT_TRUE(c.done(document.set()));
        EXPECT_EQ(document.modified(), c.modified);
        EXPECT_EQ(document.canUndo(), c.undoable);
        EXPECT_GT(changed, 0) << "the windows are told";
        if (!c.undoable) continue;
        document.undo();
        EXPECT_FALSE(document.modified()) << "undone back to the file";
        EXPECT_EQ(document.set().stageSlots[0].objects[0].x, 16);
        EXPECT_EQ(document.set().stageSlots[0].objects[0].kind, 4);
    }
}

TEST(StageDocument, OpensSavesAndStartsNew) {
    EditorFolder folder;
    const QString first = folder.stageFile("first.vtg"), second = folder.stageFile("second.vtg");
    StageDocument document;
    EXPECT_TRUE(document.untitled());
    EXPECT_EQ(document.fileName(), "Untitled");
    press(document, [](auto& e) { e.apply(0, 240, objectKind(1)); });
    QString error;
    ASSERT_TRUE(document.saveAs(first, error)) << error.toStdString();
    EXPECT_EQ(document.fileName(), first);
    EXPECT_FALSE(document.modified());
    EXPECT_EQ(fileBytes(first), stageFileBytes(document.set()));

    document.setAuthor("someone");
    ASSERT_TRUE(document.save(error));
    EXPECT_TRUE(fileBytes(first).contains("someone"));

    // A save that fails leaves the name, the file and the modified state.
    document.setAuthor("no one");
    EXPECT_FALSE(document.saveAs(folder.stageFile("missing/folder.vtg"), error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(document.fileName(), first);
    EXPECT_TRUE(document.modified());

    writeBytes(second, "c\r\na\r\nm\r\n4\r\n0\r\nstage_begin\r\nd.mid\r\n1\r\n-1\r\n32\r\n32\r\n"
                       "1\r\n-1\r\n");
    QStringList warnings;
    document.setCurrentSlot(3);
    ASSERT_TRUE(document.open(second, error, &warnings)) << error.toStdString();
    EXPECT_EQ(document.fileName(), second);
    EXPECT_EQ(document.set().currentSlot, 0);
    EXPECT_EQ(document.set().stageSlots[0].enemies[0].x, 32);
    EXPECT_EQ(warnings.size(), 1) << "the file ends before its end line";
    EXPECT_FALSE(document.modified());
    EXPECT_FALSE(document.canUndo());

    // A file that cannot be read changes nothing.
    writeBytes(first, "c\r\na\r\n");
    EXPECT_FALSE(document.open(first, error));
    EXPECT_EQ(document.fileName(), second);
    EXPECT_EQ(document.set().stageSlots[0].enemies[0].x, 32);

    document.startNew();
    EXPECT_TRUE(document.untitled());
    EXPECT_TRUE(document.set().stageSlots[0].empty());
    EXPECT_FALSE(document.modified());
}

TEST(StageDocument, AnEditOfAnotherSlotIsUndoneInItsSlot) {
    StageDocument document;
    press(document, [](auto& e) { e.apply(0, 0, objectKind(3)); });
    document.setCurrentSlot(9);
    press(document, [](auto& e) { e.apply(0, 0, objectKind(5)); });
    std::vector<int> restored;
    QObject::connect(&document, &StageDocument::slotRestored,
                     [&restored](int slot) { restored.push_back(slot); });
    document.undo();
    document.undo();
    EXPECT_EQ(restored, (std::vector<int>{9, 0}));
    EXPECT_TRUE(document.set().stageSlots[0].empty());
    EXPECT_FALSE(document.modified());
    document.redo();
    EXPECT_TRUE(document.modified());
    EXPECT_TRUE(document.canRedo());
}

} // namespace
