// What the editor offers a designer beyond drawing and placing: the stage's
// sky on the canvas, frames for what the game does not draw, the status
// line, keys that move the view and the menus' shortcuts.
#include "explanations.h"
#include "support/editor_forms.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QScreen>
#include <QStatusBar>

#include <set>

namespace {

class DesignerAids : public EditorForms {
  protected:
    StageSlot& current() { return stageSet().current(); }

    // The action of the main window bound to the key.
    QAction* actionFor(const QKeySequence& key) const {
        for (QAction* a : main->findChildren<QAction*>())
            if (a->shortcuts().contains(key)) return a;
        return nullptr;
    }
    QAction* actionNamed(const QString& text) const {
        for (QAction* a : main->findChildren<QAction*>())
            if (a->text() == text) return a;
        return nullptr;
    }
    void pointAt(QPoint pixel) { main->imgCanvasMouseMove(pixel, Qt::NoButton, Qt::NoModifier); }
    QImage canvas() const { return main->canvasPicture(); }
};

TEST_F(DesignerAids, TheCanvasShowsTheStagesSkyBehindWhatTheGameDrawsOpaque) {
    const CanvasPictures& pictures = main->pictures();
    EXPECT_EQ(pictures.daySky, qRgb(120, 184, 240)) << "colour 135 of the game's palette";
    // A pixel of the coin's cell that is colour 0, and one that is not.
    const int coin = 3;
    const QRect cell = objectCell(coin);
    QPoint clear(-1, -1), solid(-1, -1);
    for (int y = 0; y < CELL; ++y) {
        for (int x = 0; x < CELL; ++x) {
            const bool shows =
                qAlpha(pictures.keyedMapObjects.pixel(cell.topLeft() + QPoint(x, y)));
            (shows ? solid : clear) = QPoint(x, y);
        }
    }
    ASSERT_NE(clear, QPoint(-1, -1));
    ASSERT_NE(solid, QPoint(-1, -1));
    current().placeObject(64, 64, coin);
    pointAt({200, 200});
    for (const int background : {0, 1}) {
        SCOPED_TRACE(background);
        current().background = uint8_t(background);
        main->btnSeekToStartClick(); // redraws
        const QRgb sky = background == 0 ? pictures.daySky : qRgb(0, 0, 0);
        EXPECT_EQ(canvas().pixel(10, 10), sky);
        EXPECT_EQ(canvas().pixel(QPoint(64, 64) + clear), sky);
        EXPECT_EQ(canvas().pixel(QPoint(64, 64) + solid),
                  pictures.mapObjects.pixel(cell.topLeft() + solid));
    }
}

// Storing the properties without closing them shows the new background.
TEST_F(DesignerAids, TheCanvasFollowsThePropertiesAsTheyAreStored) {
    pointAt({200, 200});
    properties->FormShow();
    EXPECT_EQ(canvas().pixel(100, 100), main->pictures().daySky);
    properties->cmbBg->setCurrentIndex(1);
    properties->Button2Click();
    EXPECT_EQ(canvas().pixel(100, 100), qRgb(0, 0, 0));
}

TEST_F(DesignerAids, WhatTheGameDoesNotDrawIsFramedWithItsKindUnlessTurnedOff) {
    std::set<int> unseen;
    for (int kind = 1; kind < MAP_OBJECT_KINDS; ++kind)
        if (main->pictures().unseenKinds[size_t(kind)]) unseen.insert(kind);
    // The hidden block and the enemy barrier, and the empty cells of the
    // shipped mapobj.bmp.
    std::set<int> expected = {5, 6, 16, 32, 45};
    for (int kind = 170; kind <= 255; ++kind)
        expected.insert(kind);
    EXPECT_EQ(unseen, expected);

    current().background = 1;
    current().placeObject(32, 32, 5);        // a hidden block
    current().placeObject(64, 32, 1);        // drawn by the game: no frame
    current().placeEnemy(96, 32, 40);        // a kind without a definition
    current().placeObject(-16 + 4, 96, 208); // partly left of the view
    stageSet().viewLeft = 0;
    pointAt({200, 200});
    const QRgb objectFrame = canvas().pixel(32, 32);
    EXPECT_EQ(objectFrame, qRgb(255, 0, 255));
    EXPECT_EQ(canvas().pixel(47, 47), objectFrame);
    EXPECT_EQ(canvas().pixel(38, 41), qRgb(255, 255, 255)) << "the 5 of the kind number";
    EXPECT_EQ(canvas().pixel(39, 42), qRgb(0, 0, 0)) << "on black";
    EXPECT_NE(canvas().pixel(96, 32), qRgb(0, 0, 0)) << "the enemy's frame";
    EXPECT_NE(canvas().pixel(96, 32), objectFrame) << "in a colour of its own";
    EXPECT_EQ(canvas().pixel(0, 96 + 15), objectFrame) << "the clipped frame's bottom edge";
    const QImage drawnObject = canvas().copy(64, 32, 16, 16);

    QAction* frames = actionNamed("見えないｵﾌﾞｼﾞｪｸﾄの枠(&F)");
    ASSERT_NE(frames, nullptr);
    frames->trigger();
    EXPECT_NE(canvas().pixel(32, 32), objectFrame) << "the hidden block's own picture";
    EXPECT_NE(canvas().pixel(47, 47), objectFrame);
    EXPECT_EQ(canvas().pixel(96, 32), qRgb(0, 0, 0));
    EXPECT_EQ(canvas().pixel(0, 96 + 15), qRgb(0, 0, 0)) << "kind 208's cell is empty";
    EXPECT_EQ(canvas().copy(64, 32, 16, 16), drawnObject);
}

TEST_F(DesignerAids, TheStatusLineNamesTheViewTheCellAndWhatLiesThere) {
    stageSet().viewLeft = 320;
    current().placeObject(320 + 48, 64, 3);
    current().placeEnemy(320 + 48, 64 + 16, 0); // a 16-high enemy from the same cell
    pointAt({50, 70});
    const QString status = main->statusText();
    EXPECT_TRUE(status.contains("x=320")) << status.toStdString();
    EXPECT_TRUE(status.contains("(368, 64)")) << status.toStdString();
    EXPECT_TRUE(status.contains(objectExplanation(3))) << status.toStdString();
    EXPECT_TRUE(status.contains(enemyExplanation(0))) << status.toStdString();
    EXPECT_TRUE(main->statusBar()->isVisible() || !main->isVisible());

    pointAt({100, 100});
    EXPECT_FALSE(main->statusText().contains(objectExplanation(3)));
    EXPECT_TRUE(main->statusText().contains("(416, 96)")) << main->statusText().toStdString();
}

TEST_F(DesignerAids, KeysMoveTheView) {
    current().placeObject(1600, 0, 1);
    const struct {
        QKeySequence key;
        int32_t from;
        int32_t to;
    } cases[] = {
        {QKeySequence(Qt::Key_Right), 0, 16},
        {QKeySequence(Qt::Key_Left), 32, 16},
        {QKeySequence(Qt::Key_Left), 8, 0},
        {QKeySequence(Qt::SHIFT | Qt::Key_Right), 16, 16 + 288},
        {QKeySequence(Qt::SHIFT | Qt::Key_Left), 600, 600 - 288},
        {QKeySequence(Qt::SHIFT | Qt::Key_Left), 100, 0},
        {QKeySequence(Qt::Key_Home), 900, 0},
        {QKeySequence(Qt::Key_End), 0, 1600 - 272},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key.toString().toStdString());
        QAction* action = actionFor(c.key);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->shortcutContext(), Qt::WindowShortcut);
        stageSet().viewLeft = c.from;
        action->trigger();
        EXPECT_EQ(stageSet().viewLeft, c.to);
    }
}

// A zoom is offered only when the window still fits the screen at it.
TEST_F(DesignerAids, TheViewMenuOffersTheZoomsThatFitTheScreen) {
    main->show();
    QApplication::processEvents();
    const QRect free = main->screen()->availableGeometry();
    // The canvas alone at the third zoom, with the menu, the controls and the
    // status line, is more than this screen holds.
    ASSERT_LT(free.height(), 256 * 3 + 80);
    for (int zoom = 1; zoom <= 3; ++zoom) {
        SCOPED_TRACE(zoom);
        QAction* action = actionNamed(QString("%1倍(&%1)").arg(zoom));
        ASSERT_NE(action, nullptr);
        main->setZoom(zoom);
        QApplication::processEvents();
        const bool fits = main->frameGeometry().height() <= free.height() &&
                          main->frameGeometry().width() <= free.width();
        EXPECT_EQ(action->isEnabled(), fits);
    }
    EXPECT_TRUE(actionNamed("1倍(&1)")->isEnabled());
    EXPECT_FALSE(actionNamed("3倍(&3)")->isEnabled());
}

TEST_F(DesignerAids, TheMenusHaveShortcutsAndSaveAsStartsAtTheFile) {
    const struct {
        QKeySequence key;
        const char* item;
    } cases[] = {
        {QKeySequence(Qt::Key_F5), "ﾃｽﾄﾌﾟﾚｲ(&T)"},
        {QKeySequence(Qt::Key_F4), "ﾌﾟﾛﾊﾟﾃｨ(&P)..."},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), "名前を付けて保存(&A)..."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        QAction* action = actionFor(c.key);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text(), QString::fromUtf8(c.item));
    }

    current().placeObject(0, 0, 1);
    const QString first = folder.stageFile("first.vtg");
    dialogs.chosenFiles = {first, QString()};
    main->SaveAs1Click();
    main->SaveAs1Click(); // cancelled
    ASSERT_EQ(dialogs.saveDialogFolders.size(), 2);
    EXPECT_EQ(QFileInfo(dialogs.saveDialogFolders[0]).canonicalFilePath(),
              QFileInfo(folder.stageFile("")).canonicalFilePath())
        << "a new file: stage/";
    EXPECT_EQ(dialogs.saveDialogFolders[1], first);
}

} // namespace
