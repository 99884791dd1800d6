#include "enemy_definitions.h"
#include "support/editor_forms.h"

namespace {

class ObjectSelector : public EditorForms {};

TEST_F(ObjectSelector, StartsWithObjectKindZeroExplained) {
    EXPECT_EQ(selector->windowTitle(), "ｵﾌﾞｼﾞｪｸﾄ");
    EXPECT_EQ(selector->operation(), OPERATION_OBJECT);
    EXPECT_EQ(selector->selectedObjectKind(), 0);
    EXPECT_EQ(selector->statusText(), "0:何もありません。この番号は配置できません。");
    EXPECT_GT(selector->enemyCount(), 0);
    EXPECT_EQ(selector->enemyCount(), enemyDefinitions().count());
    EXPECT_EQ(selector->selectedEnemyKind(), 0);
}

TEST_F(ObjectSelector, TheStatusLineExplainsTheSelectedKind) {
    writeBytes(folder.gamePath("editor/exp.dat"),
               "[MAPCHIP]\r\n1=\x92\x6E\x96\xCA\r\n[ENEMY]\r\n2=Shell\r\n");
    chooseObjectKind(1);
    EXPECT_EQ(selector->statusText(), "1:地面");
    chooseObjectKind(200);
    EXPECT_EQ(selector->statusText(), "200:(No comment)");
    selector->setOperation(OPERATION_ENEMY);
    selector->selectEnemyKind(2);
    EXPECT_EQ(selector->statusText(), "2:Shell");
    selector->selectEnemyKind(3);
    EXPECT_EQ(selector->statusText(), "3:(No comment)");
    selector->setOperation(OPERATION_ERASER);
    EXPECT_EQ(selector->statusText(), "3:(No comment)") << "the eraser keeps the line";
}

TEST_F(ObjectSelector, OnlyALeftClickChoosesAPaletteCell) {
    selector->imgMapObjMouseDown(Qt::RightButton, 40, 40);
    EXPECT_EQ(selector->selectedObjectKind(), 0);
    selector->imgMapObjMouseDown(Qt::LeftButton, 47, 33);
    EXPECT_EQ(selector->selectedObjectKind(), 2 + 16 * 2);
    selector->selectObjectKind(255);
    EXPECT_EQ(selector->selectedObjectKind(), 255);
}

TEST_F(ObjectSelector, ThePaletteMarksTheSelectedCell) {
    chooseObjectKind(17); // cell (16, 16)
    const QImage palette = selector->palettePicture();
    const QImage& source = main->pictures().mapObjects;
    ASSERT_EQ(palette.size(), QSize(256, 256));
    EXPECT_EQ(palette.pixel(16, 16), qRgb(128, 128, 128)); // outer grey frame
    EXPECT_EQ(palette.pixel(17, 20), qRgb(255, 255, 255)); // white frame
    EXPECT_EQ(palette.pixel(18, 25), qRgb(128, 128, 128)); // inner grey frame
    // Inside, the picture with blue merged onto it.
    const QRgb under = source.pixel(24, 24);
    EXPECT_EQ(palette.pixel(24, 24), qRgb(qRed(under), qGreen(under), 255));
    EXPECT_EQ(palette.pixel(40, 40), source.pixel(40, 40));
}

TEST_F(ObjectSelector, TheEnemyPreviewCentresTheFirstFrame) {
    selector->setOperation(OPERATION_ENEMY);
    selector->selectEnemyKind(11); // 8 by 8
    const EnemyDefinition& d = enemyDefinitions().of(11);
    ASSERT_EQ(d.width, 8);
    const QImage preview = selector->enemyPreview();
    ASSERT_EQ(preview.size(), QSize(128, 128));
    EXPECT_EQ(preview.copy(60, 60, 8, 8), main->pictures().enemies.copy(d.x, d.y, 8, 8));
    EXPECT_EQ(preview.pixel(59, 59), qRgb(0, 0, 0));
}

} // namespace
