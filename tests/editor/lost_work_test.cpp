// What a designer does that must never lose work or leave the editor in a
// state it cannot get out of: a closed selector, a press the warning box
// took, changes the undo history does not hold.
#include "edit_history.h"
#include "stage_file_io.h"
#include "stage_set.h"
#include "support/editor_forms.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>

namespace {

class LostWork : public EditorForms {
  protected:
    QAction* action(const QString& text) const {
        for (QAction* a : main->findChildren<QAction*>())
            if (a->text() == text) return a;
        return nullptr;
    }
};

TEST_F(LostWork, AClosedSelectorComesBackFromTheViewMenu) {
    main->show();
    QApplication::processEvents();
    QAction* shown = action("ｵﾌﾞｼﾞｪｸﾄ(&O)");
    ASSERT_NE(shown, nullptr);
    ASSERT_TRUE(selector->isVisible());
    EXPECT_TRUE(shown->isChecked());

    selector->close(); // the title bar's close box
    EXPECT_FALSE(selector->isVisible());
    EXPECT_FALSE(shown->isChecked());

    shown->trigger();
    EXPECT_TRUE(selector->isVisible());
    EXPECT_TRUE(shown->isChecked());
}

// The warning box takes the button's release, so the canvas sees a press
// and nothing after it.
TEST_F(LostWork, UndoWorksAfterThePressTheKindZeroWarningTook) {
    QAction* undo = action("元に戻す(&U)");
    ASSERT_NE(undo, nullptr);
    chooseObjectKind(4);
    click({0, 0});
    ASSERT_EQ(objectsInUse(0), 1);

    chooseObjectKind(0);
    main->imgCanvasMouseDown({40, 40}, Qt::LeftButton, Qt::NoModifier);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_TRUE(main->document().canUndo());
    EXPECT_TRUE(undo->isEnabled());
    main->undoClick();
    EXPECT_EQ(objectsInUse(0), 0);
    EXPECT_FALSE(main->modified());

    // While a press is held nothing can be undone, and the menu says so.
    chooseObjectKind(4);
    main->imgCanvasMouseDown({0, 0}, Qt::LeftButton, Qt::NoModifier);
    EXPECT_FALSE(undo->isEnabled());
    main->imgCanvasMouseUp({0, 0}, Qt::LeftButton);
    EXPECT_TRUE(undo->isEnabled());
}

TEST_F(LostWork, TheCaptionNamesTheFileAndMarksUnsavedWork) {
    EXPECT_EQ(main->windowTitle(), "VeltaEdit for Tarvelon - Untitled");
    chooseObjectKind(4);
    click({0, 0});
    EXPECT_EQ(main->windowTitle(), "VeltaEdit for Tarvelon - Untitled *");
    dialogs.chosenFiles = {folder.stageFile("stage1.vtg")};
    main->Save1Click();
    EXPECT_EQ(main->windowTitle(), "VeltaEdit for Tarvelon - stage1.vtg");
    drag({{50, 50}, {50, 66}}, Qt::ShiftModifier);
    EXPECT_EQ(main->windowTitle(), "VeltaEdit for Tarvelon - stage1.vtg *");
    main->undoClick();
    EXPECT_EQ(main->windowTitle(), "VeltaEdit for Tarvelon - stage1.vtg");
}

// Exit after a whole-stage move asks, and Yes writes the moved stage.
TEST_F(LostWork, ClosingAfterAStageMoveAsksToSave) {
    chooseObjectKind(4);
    click({0, 32});
    dialogs.chosenFiles = {folder.stageFile("moved.vtg")};
    main->Save1Click();
    drag({{50, 50}, {50, 66}}, Qt::ShiftModifier);
    dialogs.boxes.clear();
    dialogs.answers = {Dialogs::Answer::Yes};
    EXPECT_TRUE(main->closeQuestion());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    auto read = std::make_unique<StageSet>();
    QString error;
    ASSERT_TRUE(readStageFile(folder.stageFile("moved.vtg"), *read, error)) << error.toStdString();
    EXPECT_NE(read->stageSlots[0].findObject(0, 48), NO_RECORD);
    EXPECT_FALSE(main->modified());
}

// Objects moved past the stage's top are left out of the file: saving says
// so first, and No keeps the file as it was.
TEST_F(LostWork, SavingAsksBeforeLeavingOutRecordsTheFileCannotHold) {
    chooseObjectKind(4);
    click({0, 0});
    click({0, 32});
    const QString path = folder.stageFile("moved.vtg");
    dialogs.chosenFiles = {path};
    main->Save1Click();
    const QByteArray saved = fileBytes(path);
    drag({{50, 50}, {50, 34}}, Qt::ShiftModifier); // the first object to y -16
    dialogs.boxes.clear();

    dialogs.answers = {Dialogs::Answer::No};
    main->Save1Click();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_TRUE(dialogs.boxes[0].text.contains("1個")) << dialogs.boxes[0].text.toStdString();
    EXPECT_EQ(dialogs.boxes[0].buttons, Dialogs::Buttons::YesNoDefaultNo) << "Enter keeps the file";
    EXPECT_EQ(fileBytes(path), saved);
    EXPECT_TRUE(main->modified());
    dialogs.answers = {Dialogs::Answer::Yes, Dialogs::Answer::No};
    EXPECT_FALSE(main->closeQuestion()) << "Yes to saving, then No: the editor stays open";
    EXPECT_EQ(fileBytes(path), saved);

    dialogs.boxes.clear();
    dialogs.answers = {Dialogs::Answer::Yes};
    main->SaveAs1Click();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.saveDialogFolders.size(), 2) << "Save As goes on to its dialog";
}

TEST_F(LostWork, TheSelectorStaysOnTheScreenBesideAWideMainWindow) {
    main->setZoom(3);
    main->show();
    QApplication::processEvents();
    const QRect free = main->screen()->availableGeometry();
    ASSERT_GT(main->frameGeometry().width() + selector->frameGeometry().width(), free.width())
        << "the screen must be too narrow for both side by side";
    EXPECT_TRUE(free.contains(selector->frameGeometry())) << "the selector is on the screen";
    main->move(free.left() + 5, free.top() + 7);
    QApplication::processEvents();
    EXPECT_EQ(selector->frameGeometry().top(), main->frameGeometry().top())
        << "it follows the main window";
    EXPECT_TRUE(free.contains(selector->frameGeometry()));

    // With room on the main window's left but not on its right, it goes left.
    main->setZoom(1);
    main->move(free.right() + 1 - main->frameGeometry().width(), free.top());
    QApplication::processEvents();
    ASSERT_GE(main->frameGeometry().left() - selector->frameGeometry().width(), free.left());
    EXPECT_EQ(selector->frameGeometry().right() + 1, main->frameGeometry().left());
    EXPECT_FALSE(selector->frameGeometry().intersects(main->frameGeometry()));
}

} // namespace
