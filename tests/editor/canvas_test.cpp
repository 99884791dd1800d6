#include "canvas_editing.h"
#include "edit_history.h"
#include "enemy_definitions.h"
#include "stage_canvas.h"
#include "stage_file_io.h"
#include "support/editor_forms.h"

#include <QMouseEvent>

namespace {

class Canvas : public EditorForms {
  protected:
    StageSlot& current() { return stageSet().current(); }
    // An enemy definition 32 pixels high after the shipped ones.
    int addTallEnemy() {
        const int kind = enemyDefinitions().count();
        writeBytes(folder.gamePath(QString::asprintf("dat/e%.2d.dat", kind).toStdString()),
                   "[GENERAL]\r\nNAME=Tall\r\nSIZE=32,32\r\n[PAT]\r\n00=0,0\r\n");
        remakeForms();
        return kind;
    }
};

TEST_F(Canvas, DraggingPaintsEveryCellPassedReplacingWhatIsThere) {
    stageSet().viewLeft = 32;
    current().placeObject(32 + 16, 96, 5);
    chooseObjectKind(7);
    drag({{0, 100}, {9, 101}, {20, 102}, {40, 100}, {52, 97}, {70, 99}});
    for (int cellX : {0, 16, 32, 48, 64}) {
        const int found = current().findObject(32 + cellX, 96);
        ASSERT_NE(found, NO_RECORD) << cellX;
        EXPECT_EQ(current().objects[size_t(found)].kind, 7);
    }
    EXPECT_EQ(current().findObject(32 + 16, 96), 0) << "the replaced object keeps its slot";
    EXPECT_EQ(objectsInUse(0), 5);
    EXPECT_TRUE(main->modified());
    EXPECT_EQ(main->slotList()->itemText(0), "1 - 1*");
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Canvas, PaintingStopsAtTheCanvasEdges) {
    chooseObjectKind(1);
    drag({{280, 250}, {290, 250}, {300, 262}, {-20, -8}});
    EXPECT_EQ(objectsInUse(0), 1);
    EXPECT_NE(current().findObject(272, 240), NO_RECORD);
}

TEST_F(Canvas, KindZeroIsNotPlacedAndWarns) {
    EXPECT_EQ(selector->selectedObjectKind(), 0);
    click({40, 40});
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "そのｵﾌﾞｼﾞｪｸﾄは配置できません。");
    EXPECT_EQ(dialogs.boxes[0].caption, "警告");
    EXPECT_EQ(dialogs.boxes[0].icon, Dialogs::Icon::Error);
    EXPECT_TRUE(current().empty());
    EXPECT_FALSE(main->modified());
}

TEST_F(Canvas, AFullSlotTakesNoMoreObjects) {
    for (int i = 0; i < OBJECT_SLOTS; ++i)
        current().placeObject(1000 + 16 * i, 0, 1);
    chooseObjectKind(2);
    click({16, 16});
    EXPECT_EQ(current().findObject(16, 16), NO_RECORD);
    EXPECT_EQ(objectsInUse(0), OBJECT_SLOTS);
    EXPECT_TRUE(main->modified()) << "placing marks the set even when nothing was stored";
}

TEST_F(Canvas, EnemiesStandOnTheCellPlusTheirHeight) {
    const int tall = addTallEnemy();
    selector->setOperation(OPERATION_ENEMY);
    selector->selectEnemyKind(tall);
    click({64 + 5, 128 + 7});
    const int found = current().findEnemy(64, 160);
    ASSERT_NE(found, NO_RECORD);
    EXPECT_EQ(current().enemies[size_t(found)].kind, tall);

    // Picking and erasing find it at the cell it was placed from, whatever
    // enemy is selected.
    selector->selectEnemyKind(0); // 16 high
    click({64, 128}, Qt::RightButton);
    EXPECT_EQ(selector->operation(), OPERATION_ENEMY);
    EXPECT_EQ(selector->selectedEnemyKind(), tall);
    // Only from that cell: the cell below its top holds its feet, not the
    // enemy, whatever enemy the list shows.
    selector->selectEnemyKind(0);
    selector->setOperation(OPERATION_ERASER);
    click({64, 144});
    EXPECT_NE(current().findEnemy(64, 160), NO_RECORD);
    click({64, 128});
    EXPECT_EQ(current().findEnemy(64, 160), NO_RECORD);

    // An enemy without a definition is 0 high: its cell is the one at its y.
    current().placeEnemy(80, 160, 40);
    selector->selectEnemyKind(tall);
    selector->setOperation(OPERATION_ERASER);
    click({80, 128});
    EXPECT_NE(current().findEnemy(80, 160), NO_RECORD);
    click({80, 160});
    EXPECT_EQ(current().findEnemy(80, 160), NO_RECORD);
}

TEST_F(Canvas, TheEraserTakesTheObjectAndTheEnemyOfTheCell) {
    current().placeObject(32, 32, 4);
    current().placeEnemy(32, 48, 0); // a 16-high enemy on the same cell
    current().placeObject(48, 32, 4);
    selector->setOperation(OPERATION_ERASER);
    click({32, 32});
    EXPECT_EQ(current().findObject(32, 32), NO_RECORD);
    EXPECT_EQ(current().findEnemy(32, 48), NO_RECORD);
    EXPECT_NE(current().findObject(48, 32), NO_RECORD);
}

TEST_F(Canvas, RightClickPicksWhatIsUnderTheCursor) {
    stageSet().viewLeft = 160;
    current().placeObject(160 + 16, 32, 77);
    current().placeEnemy(160 + 48, 64 + 16, 3);
    takeAsOpened();
    click({20, 40}, Qt::RightButton);
    EXPECT_EQ(selector->operation(), OPERATION_OBJECT);
    EXPECT_EQ(selector->selectedObjectKind(), 77);
    click({50, 70}, Qt::RightButton);
    EXPECT_EQ(selector->operation(), OPERATION_ENEMY);
    EXPECT_EQ(selector->selectedEnemyKind(), 3);
    click({100, 100}, Qt::RightButton);
    EXPECT_EQ(selector->operation(), OPERATION_ERASER);
    EXPECT_FALSE(main->modified());
}

TEST_F(Canvas, ShiftDraggingMovesTheWholeStageAndMarksItWhileItDiffers) {
    current().placeObject(16, 0, 1);
    current().placeObject(16, 32, 2);
    current().placeEnemy(64, 240, 0);
    takeAsOpened();
    drag({{100, 100}, {100, 90}, {100, 84}}, Qt::ShiftModifier);
    EXPECT_NE(current().findObject(16, -16), NO_RECORD);
    EXPECT_NE(current().findObject(16, 16), NO_RECORD);
    EXPECT_NE(current().findEnemy(64, 224), NO_RECORD);
    EXPECT_TRUE(main->modified()) << "closing now would lose the move";

    // The object moved off the top is left out of the file.
    auto read = std::make_unique<StageSet>();
    QString error;
    ASSERT_TRUE(parseStageFile(stageFileBytes(stageSet()), *read, error));
    EXPECT_EQ(read->stageSlots[0].findObject(16, -16), NO_RECORD);
    EXPECT_NE(read->stageSlots[0].findObject(16, 16), NO_RECORD);
    EXPECT_EQ(objectsInUse(0), 2) << "in memory it stays";

    drag({{100, 84}, {100, 100}}, Qt::ShiftModifier);
    EXPECT_NE(current().findObject(16, 0), NO_RECORD);
    EXPECT_FALSE(main->modified()) << "moved back to where it was";
}

TEST_F(Canvas, PanningFollowsThePointerAndStopsAtTheStart) {
    stageSet().viewLeft = 100;
    drag({{200, 50}, {150, 50}, {120, 50}}, Qt::AltModifier);
    EXPECT_EQ(stageSet().viewLeft, 100 + 192 - 112);
    drag({{10, 50}, {250, 50}}, Qt::AltModifier);
    EXPECT_EQ(stageSet().viewLeft, 0);
    // The middle button pans as well, where the desktop takes Alt-dragging.
    main->imgCanvasMouseDown({200, 50}, Qt::MiddleButton, Qt::NoModifier);
    main->imgCanvasMouseMove({40, 50}, Qt::MiddleButton, Qt::NoModifier);
    main->imgCanvasMouseUp({40, 50}, Qt::MiddleButton);
    EXPECT_EQ(stageSet().viewLeft, 192 - 32);
    EXPECT_TRUE(current().empty());
    EXPECT_FALSE(main->modified());
}

TEST_F(Canvas, SeekButtonsGoByTheRightmostObject) {
    auto slot = std::make_unique<StageSlot>();
    EXPECT_FALSE(seekToEndViewLeft(*slot).has_value());
    EXPECT_FALSE(seekToCenterViewLeft(*slot).has_value());
    slot->placeObject(1600, 0, 1);
    slot->placeObject(800, 0, 1);
    slot->placeEnemy(3000, 16, 0); // enemies do not count while objects exist
    EXPECT_EQ(seekToEndViewLeft(*slot), 1328);
    EXPECT_EQ(seekToCenterViewLeft(*slot), 656);
    slot->clear();
    slot->placeObject(1616, 0, 1);
    EXPECT_EQ(seekToCenterViewLeft(*slot), 672); // 1344 / 2, on a cell already
    slot->clear();
    slot->placeObject(100, 0, 1); // a stage shorter than the canvas
    EXPECT_EQ(seekToEndViewLeft(*slot), 0);
    EXPECT_EQ(seekToCenterViewLeft(*slot), 0);
    slot->clear();
    slot->placeEnemy(912, 16, 0);
    EXPECT_EQ(seekToEndViewLeft(*slot), 640);

    current().placeObject(1600, 0, 1);
    main->btnSeekToEndClick();
    EXPECT_EQ(stageSet().viewLeft, 1328);
    main->btnSeekToCenterClick();
    EXPECT_EQ(stageSet().viewLeft, 656);
    main->btnSeekToStartClick();
    EXPECT_EQ(stageSet().viewLeft, 0);
}

TEST_F(Canvas, RedrawShowsObjectsEnemiesAndTheMergedCursor) {
    stageSet().viewLeft = 16;
    current().background = 1; // night: a black sky
    current().placeObject(16 + 32, 64, 1);
    current().placeEnemy(16 + 96, 96 + 16, 0);
    current().placeEnemy(16 + 128, 96 + 16, 40); // no definition: no picture
    main->imgCanvasMouseMove({200, 200}, Qt::NoButton, Qt::NoModifier);
    const QImage canvas = main->canvasPicture();
    ASSERT_EQ(canvas.size(), QSize(288, 256));
    const CanvasPictures& pictures = main->pictures();
    EXPECT_EQ(canvas.copy(32, 64, 16, 16), pictures.mapObjects.copy(objectCell(1)));
    const EnemyDefinition& shellbug = enemyDefinitions().of(0);
    EXPECT_EQ(canvas.copy(96, 96, 16, 16),
              pictures.enemies.copy(shellbug.x, shellbug.y, shellbug.width, shellbug.height));
    EXPECT_EQ(canvas.copy(128, 96, 16, 16), [] {
        QImage black(16, 16, QImage::Format_RGB32);
        black.fill(Qt::black);
        return black;
    }());
    // The cursor on black: a yellow outline round a blue inside.
    EXPECT_EQ(canvas.pixel(192, 192), qRgb(255, 255, 0));
    EXPECT_EQ(canvas.pixel(207, 207), qRgb(255, 255, 0));
    EXPECT_EQ(canvas.pixel(200, 200), qRgb(0, 0, 255));
    EXPECT_EQ(canvas.pixel(208, 200), qRgb(0, 0, 0));

    // An enemy cursor takes the selected enemy's size.
    selector->setOperation(OPERATION_ENEMY);
    selector->selectEnemyKind(12); // 16 by 24
    EXPECT_EQ(main->canvasPicture().pixel(192, 192 + 23), qRgb(255, 255, 0));
    EXPECT_EQ(main->canvasPicture().pixel(192, 192 + 24), qRgb(0, 0, 0));
}

TEST_F(Canvas, ZoomedPointerPositionsBecomeCanvasCells) {
    auto* canvas = main->findChild<StageCanvas*>();
    ASSERT_NE(canvas, nullptr);
    chooseObjectKind(9);
    for (int zoom : {1, 2, 3}) {
        SCOPED_TRACE(zoom);
        main->setZoom(zoom);
        EXPECT_EQ(canvas->size(), QSize(288 * zoom, 256 * zoom));
        const QPointF at(zoom * 40 + zoom - 1, zoom * 70 + zoom - 1); // inside cell (32, 64)
        QMouseEvent press(QEvent::MouseButtonPress, at, canvas->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, canvas->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(canvas, &press);
        QApplication::sendEvent(canvas, &release);
        EXPECT_EQ(main->cursorCell(), QPoint(32, 64));
        EXPECT_EQ(objectsInUse(0), 1);
        current().clear();
    }
}

TEST_F(Canvas, WithNoEnemyDefinitionsTheEnemyOperationPlacesNothing) {
    std::filesystem::remove_all(folder.game() / "dat");
    remakeForms();
    EXPECT_EQ(selector->enemyCount(), 0);
    selector->setOperation(OPERATION_ENEMY);
    click({16, 16});
    EXPECT_TRUE(current().empty());
}

} // namespace
