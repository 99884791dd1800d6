// Stage files and enemy definitions with coordinates at the ends of the
// 32-bit range: the editor shows, scrolls, paints, picks and moves them
// without overflowing (the test build aborts on any undefined arithmetic),
// and keeps the values as the file gave them unless the user moves them.
#include "canvas_editing.h"
#include "enemy_definitions.h"
#include "stage_file_io.h"
#include "support/editor_forms.h"
#include "test_play.h"

#include <QFile>

#include <climits>

namespace {

// Object kind 92 at x 2147483647, and at -2147483648 with another at 100000.
const QByteArray BIG_X = "c\r\na\r\nm\r\n4\r\n0\r\nstage_begin\r\ndef.mid\r\n0\r\n"
                         "2147483647\r\n224\r\n92\r\n-1\r\n-1\r\nend;";
const QByteArray MIN_X = "c\r\na\r\nm\r\n4\r\n0\r\nstage_begin\r\ndef.mid\r\n0\r\n"
                         "-2147483648\r\n224\r\n92\r\n100000\r\n224\r\n92\r\n-1\r\n-1\r\nend;";

class ExtremeCoordinates : public EditorForms {
  protected:
    StageSlot& current() { return stageSet().current(); }

    void open(const QByteArray& bytes) {
        const QString path = folder.stageFile("extreme.vtg");
        writeBytes(path, bytes);
        dialogs.chosenFiles = {path};
        main->Open1Click();
        // Records outside the saved range are said once on opening.
        std::erase_if(dialogs.boxes, [](const ShownBox& box) { return box.caption == "警告"; });
        ASSERT_TRUE(dialogs.boxes.empty()) << dialogs.boxes.front().text.toStdString();
        ASSERT_EQ(main->fileName(), path);
    }

    // Every record of the current slot in use, as (x, y, kind).
    std::vector<std::tuple<int32_t, int32_t, int>> records() {
        std::vector<std::tuple<int32_t, int32_t, int>> found;
        for (const auto* list : {&current().objects})
            for (const PlacedRecord& r : *list)
                if (r.inUse) found.emplace_back(r.x, r.y, r.kind);
        for (const PlacedRecord& r : current().enemies)
            if (r.inUse) found.emplace_back(r.x, r.y, -r.kind - 1);
        return found;
    }

    // An enemy definition after the shipped ones, selected in the list; a
    // later one takes the place of an earlier one.
    int addEnemy(const QByteArray& size, const QByteArray& corner) {
        if (shipped_ < 0) shipped_ = enemyDefinitions().count();
        const int kind = shipped_;
        writeBytes(folder.gamePath(QString::asprintf("dat/e%.2d.dat", kind).toStdString()),
                   "[GENERAL]\r\nNAME=Odd\r\nSIZE=" + size + "\r\n[PAT]\r\n00=" + corner + "\r\n");
        remakeForms();
        selector->setOperation(OPERATION_ENEMY);
        selector->selectEnemyKind(kind);
        return kind;
    }

  private:
    int shipped_ = -1;
};

TEST_F(ExtremeCoordinates, TheSeekButtonsAndTheViewReachTheFarEndsAndDrawThem) {
    for (const QByteArray& file : {BIG_X, MIN_X}) {
        SCOPED_TRACE(file.toStdString());
        open(file);
        const auto before = records();
        main->btnSeekToEndClick();
        const int32_t end = stageSet().viewLeft;
        main->btnSeekToCenterClick();
        main->btnSeekToEndClick();
        EXPECT_EQ(stageSet().viewLeft, end);
        // The rightmost object sits at the canvas's right edge.
        const int32_t rightmost = file == BIG_X ? INT32_MAX : 100000;
        EXPECT_EQ(end, rightmost - 272);
        EXPECT_EQ(main->canvasPicture().copy(272, 224, 16, 16),
                  main->pictures().mapObjects.copy(objectCell(92)));
        // Panning on to the right stops where the last cell still has a stage x.
        drag({{280, 50}, {0, 50}, {-4000, 50}}, Qt::AltModifier);
        EXPECT_LE(stageSet().viewLeft, INT32_MAX - 272);
        EXPECT_GE(stageSet().viewLeft, end);
        main->btnSeekToStartClick();
        EXPECT_EQ(stageSet().viewLeft, 0);
        EXPECT_EQ(records(), before) << "looking moves nothing";
        EXPECT_FALSE(main->modified());
    }
}

TEST_F(ExtremeCoordinates, PaintingAndPickingAtTheLastStageXWork) {
    open(BIG_X);
    main->btnSeekToEndClick();
    drag({{200, 50}, {0, 50}, {-100000, 50}}, Qt::AltModifier); // as far right as it goes
    const int32_t viewLeft = stageSet().viewLeft;
    chooseObjectKind(7);
    click({287, 16});
    EXPECT_NE(current().findObject(viewLeft + 272, 16), NO_RECORD);
    click({287, 16}, Qt::RightButton);
    EXPECT_EQ(selector->operation(), OPERATION_OBJECT);
    EXPECT_EQ(selector->selectedObjectKind(), 7);
    EXPECT_EQ(testPlayArguments(stageSet())[1].toLongLong(), int64_t(viewLeft) + 144);
}

TEST_F(ExtremeCoordinates, AMoveThatWouldLeaveTheNumbersIsRefusedWhole) {
    const struct {
        const char* label;
        QByteArray file;
        std::initializer_list<QPoint> drag;
    } cases[] = {
        {"right past the largest x", BIG_X, {{100, 100}, {116, 100}}},
        {"left past the smallest x", MIN_X, {{100, 100}, {84, 100}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        open(c.file);
        const auto before = records();
        drag(c.drag, Qt::ShiftModifier);
        EXPECT_EQ(records(), before);
        // The other way the stage moves, every record by the same step.
        const QPoint back = *c.drag.begin() - *std::prev(c.drag.end());
        drag({{100, 100}, QPoint(100, 100) + back}, Qt::ShiftModifier);
        const auto after = records();
        ASSERT_EQ(after.size(), before.size());
        for (size_t i = 0; i < after.size(); ++i)
            EXPECT_EQ(int64_t(std::get<0>(after[i])), int64_t(std::get<0>(before[i])) + back.x());
        EXPECT_TRUE(main->modified()) << "the stage moved";
        main->undoClick();
        EXPECT_EQ(records(), before);
        EXPECT_FALSE(main->modified());
    }
}

TEST_F(ExtremeCoordinates, AnUnchangedFileIsSavedAsItWasRead) {
    open(BIG_X);
    main->btnSeekToEndClick();
    main->imgCanvasMouseMove({280, 230}, Qt::NoButton, Qt::NoModifier);
    dialogs.chosenFiles = {folder.stageFile("again.vtg")};
    main->SaveAs1Click();
    EXPECT_EQ(fileBytes(folder.stageFile("again.vtg")), BIG_X);
}

TEST_F(ExtremeCoordinates, EnemiesAtTheEndsOfTheRangeAreDrawnAndPicked) {
    const int tall = addEnemy("16,16", "0,0");
    current().placeEnemy(INT32_MAX, INT32_MIN, uint8_t(tall));
    current().placeEnemy(0, INT32_MIN, uint8_t(tall));
    current().placeEnemy(32, INT32_MAX, uint8_t(tall));
    main->btnSeekToEndClick();
    main->btnSeekToStartClick();
    click({40, 40}, Qt::RightButton);
    EXPECT_EQ(selector->operation(), OPERATION_ERASER);
}

TEST_F(ExtremeCoordinates, DefinitionsWithHugeSizesOrCornersNeitherPlaceNorDrawOutOfRange) {
    const struct {
        const char* label;
        QByteArray size;
        QByteArray corner;
        bool placed; // where the enemy's y (the cell's top plus its height) still is a number
    } cases[] = {
        {"the tallest picture", "16,2147483647", "0,0", false},
        {"the widest picture", "2147483647,16", "0,0", true},
        {"a corner at the largest x", "16,16", "2147483647,2147483647", true},
        {"a corner at the smallest x", "16,16", "-2147483648,-2147483648", true},
        {"a negative height", "16,-2147483648", "0,0", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const int kind = addEnemy(c.size, c.corner);
        EXPECT_EQ(selector->selectedEnemyKind(), kind);
        click({160, 240});
        EXPECT_EQ(enemiesInUse(0), c.placed ? 1 : 0);
        current().placeEnemy(320, 16, uint8_t(kind));
        main->btnSeekToEndClick();
        main->btnSeekToStartClick();
        click({160, 240}, Qt::RightButton);
        selector->setOperation(OPERATION_ERASER);
        click({160, 240});
        current().clear();
    }
}

} // namespace
