#include "edit_history.h"
#include "stage_file_io.h"
#include "support/editor_forms.h"

#include <QComboBox>
#include <QFile>
#include <QTextBrowser>

namespace {

using Answer = Dialogs::Answer;

class MainForm : public EditorForms {
  protected:
    // Something placed by hand, as a left click does.
    void placeSomething(QPoint pixel = {32, 32}, int kind = 1) {
        chooseObjectKind(kind);
        click(pixel);
    }
    QString savedFile(const char* name) {
        const QString path = folder.stageFile(name);
        QString error;
        EXPECT_TRUE(writeStageFile(path, stageSet(), error));
        return path;
    }
};

TEST_F(MainForm, StartsUntitledOnSlotOneWithAllSlotsListed) {
    EXPECT_EQ(main->windowTitle(), "VeltaEdit for Tarvelon - Untitled");
    EXPECT_EQ(main->fileName(), "Untitled");
    EXPECT_FALSE(main->modified());
    ASSERT_EQ(main->slotList()->count(), 36);
    EXPECT_EQ(main->slotList()->itemText(0), "1 - 1");
    EXPECT_EQ(main->slotList()->itemText(35), "9 - 4");
    EXPECT_EQ(main->slotList()->currentIndex(), 0);
    EXPECT_TRUE(dialogs.boxes.empty()) << "the pictures and definitions were found";
}

TEST_F(MainForm, TheCloseQuestionDecidesWhetherTheEditorCloses) {
    const struct {
        const char* label;
        std::deque<Answer> answers;
        std::deque<QString> files;
        bool closes;
        bool saved;
    } cases[] = {
        {"cancel", {Answer::Cancel}, {}, false, false},
        {"no", {Answer::No}, {}, true, false},
        {"yes, then the save dialog cancelled", {Answer::Yes}, {""}, false, false},
        {"yes and a name", {Answer::Yes}, {"chosen"}, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        remakeForms();
        dialogs.boxes.clear();
        main->show();
        placeSomething();
        dialogs.answers = c.answers;
        const QString path = folder.stageFile("closing.vtg");
        QFile::remove(path);
        for (const QString& file : c.files)
            dialogs.chosenFiles.push_back(file.isEmpty() ? QString() : path);
        EXPECT_EQ(main->close(), c.closes);
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].text, "\"Untitled\"\n\rに変更を保存しますか?");
        EXPECT_EQ(dialogs.boxes[0].caption, "確認");
        EXPECT_EQ(dialogs.boxes[0].buttons, Dialogs::Buttons::YesNoCancel);
        EXPECT_EQ(dialogs.boxes[0].icon, Dialogs::Icon::Question);
        EXPECT_EQ(QFile::exists(path), c.saved);
        EXPECT_EQ(main->modified(), !c.saved);
    }
}

TEST_F(MainForm, AChangeOfPropertiesAsksBeforeClosingAndLookingAtThemDoesNot) {
    main->show();
    stageSet().current().placeObject(0, 0, 1);
    takeAsOpened();
    properties->FormShow();
    properties->Button1Click();
    EXPECT_FALSE(main->modified()) << "nothing was changed";
    properties->FormShow();
    properties->edtAuthor->setText("someone");
    properties->Button1Click();
    EXPECT_EQ(stageSet().author, "someone");
    EXPECT_TRUE(main->modified());
    dialogs.answers = {Dialogs::Answer::No};
    EXPECT_TRUE(main->close());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].caption, "確認");
}

TEST_F(MainForm, NewAsksFirstAndStartsOverOnSlotOne) {
    placeSomething();
    main->slotList()->setCurrentIndex(9); // "3 - 2"
    main->cmbStageChange();
    placeSomething();
    dialogs.answers = {Answer::Cancel};
    main->New1Click();
    EXPECT_EQ(stageSet().currentSlot, 9);
    EXPECT_FALSE(stageSet().current().empty());

    dialogs.answers = {Answer::No};
    main->New1Click();
    EXPECT_EQ(stageSet().currentSlot, 0);
    EXPECT_EQ(main->slotList()->currentIndex(), 0);
    EXPECT_EQ(main->slotList()->itemText(9), "3 - 2");
    EXPECT_TRUE(stageSet().stageSlots[9].empty());
    EXPECT_EQ(main->fileName(), "Untitled");
    EXPECT_FALSE(main->modified());
    EXPECT_FALSE(main->document().canUndo());
}

TEST_F(MainForm, OpenAsksAboutUnsavedWorkAndShowsTheFirstSlot) {
    stageSet().stageSlots[2].placeObject(400, 16, 3);
    const QString path = savedFile("three.vtg");
    stageSet().reset();
    main->slotList()->setCurrentIndex(4);
    main->cmbStageChange();
    stageSet().viewLeft = 96;
    placeSomething();

    dialogs.answers = {Answer::Cancel};
    dialogs.chosenFiles = {path};
    main->Open1Click();
    EXPECT_EQ(dialogs.fileDialogs, 0) << "cancelling the question cancels the opening";
    EXPECT_EQ(main->fileName(), "Untitled");

    dialogs.answers = {Answer::No};
    main->Open1Click();
    EXPECT_EQ(dialogs.openDialogFolders.back(), folder.gamePath("stage"));
    EXPECT_EQ(main->fileName(), path);
    EXPECT_FALSE(main->modified());
    EXPECT_EQ(stageSet().currentSlot, 0);
    EXPECT_EQ(stageSet().viewLeft, 0);
    EXPECT_EQ(main->slotList()->currentIndex(), 0);
    EXPECT_EQ(main->slotList()->itemText(0), "1 - 1*") << "the file's one block";
    EXPECT_EQ(main->slotList()->itemText(4), "2 - 1");
}

TEST_F(MainForm, AFileThatCannotBeReadLeavesTheOpenSetAsItWas) {
    stageSet().current().placeObject(64, 64, 8);
    takeAsOpened();
    const QString good = savedFile("good.vtg");
    dialogs.chosenFiles = {good};
    main->Open1Click();
    placeSomething({16, 16}, 2);

    const QString broken = folder.stageFile("broken.vtg");
    const QByteArray brokenBytes =
        "c\r\na\r\nm\r\n4\r\n0\r\nstage_begin\r\nd.mid\r\n0\r\n16\r\nX\r\n";
    writeBytes(broken, brokenBytes);
    dialogs.answers = {Answer::No};
    dialogs.chosenFiles = {broken};
    main->Open1Click();
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_TRUE(dialogs.boxes[1].text.startsWith(broken));
    EXPECT_EQ(dialogs.boxes[1].icon, Dialogs::Icon::Error);
    EXPECT_EQ(main->fileName(), good);
    EXPECT_TRUE(main->modified());
    EXPECT_NE(stageSet().current().findObject(16, 16), NO_RECORD);
    EXPECT_NE(stageSet().current().findObject(64, 64), NO_RECORD);

    // Saving now writes the open set to its own file, not to the broken one.
    main->Save1Click();
    auto read = std::make_unique<StageSet>();
    QString error;
    ASSERT_TRUE(readStageFile(good, *read, error));
    EXPECT_NE(read->stageSlots[0].findObject(16, 16), NO_RECORD);
    EXPECT_EQ(fileBytes(broken), brokenBytes);
}

TEST_F(MainForm, SaveAsksForANameOnceAndSaveAsEveryTime) {
    placeSomething();
    const QString first = folder.stageFile("first.vtg");
    dialogs.chosenFiles = {first};
    main->Save1Click();
    EXPECT_EQ(main->fileName(), first);
    EXPECT_EQ(dialogs.saveDialogFolders, QStringList{folder.gamePath("stage")});
    EXPECT_FALSE(main->modified());
    EXPECT_EQ(fileBytes(first), stageFileBytes(stageSet()));

    placeSomething({48, 48});
    main->Save1Click();
    EXPECT_EQ(dialogs.fileDialogs, 1);
    EXPECT_EQ(fileBytes(first), stageFileBytes(stageSet()));

    const QString second = folder.stageFile("second.vtg");
    dialogs.chosenFiles = {"", second};
    main->SaveAs1Click();
    EXPECT_EQ(main->fileName(), first) << "a cancelled Save As changes nothing";
    main->SaveAs1Click();
    EXPECT_EQ(main->fileName(), second);
    EXPECT_EQ(fileBytes(second), fileBytes(first));
}

TEST_F(MainForm, AFailedSaveKeepsTheWorkMarkedAndTheEditorOpen) {
    main->show();
    placeSomething();
    dialogs.answers = {Answer::Yes};
    dialogs.chosenFiles = {folder.gamePath("no/such/folder/x.vtg")};
    EXPECT_FALSE(main->close());
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[1].icon, Dialogs::Icon::Error);
    EXPECT_TRUE(main->modified());
}

TEST_F(MainForm, ClearStageAsksFirstAndMarksTheSet) {
    main->Clear1Click();
    EXPECT_TRUE(dialogs.boxes.empty()) << "an empty slot has nothing to clear";

    stageSet().current().placeObject(0, 0, 1);
    stageSet().current().musicName = "x.mid";
    stageSet().current().background = 1;
    dialogs.answers = {Answer::No, Answer::Yes};
    main->Clear1Click();
    EXPECT_FALSE(stageSet().current().empty());
    main->Clear1Click();
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[1].text,
              "このｺﾏﾝﾄﾞを実行するとこのｽﾃｰｼﾞのﾃﾞｰﾀは全て消去されます。よろしいですか？");
    EXPECT_EQ(dialogs.boxes[1].caption, "確認");
    EXPECT_EQ(dialogs.boxes[1].buttons, Dialogs::Buttons::YesNo);
    EXPECT_EQ(dialogs.boxes[1].icon, Dialogs::Icon::Warning);
    EXPECT_TRUE(stageSet().current().empty());
    EXPECT_EQ(stageSet().current().musicName, "def.mid");
    EXPECT_EQ(stageSet().current().background, 0);
    EXPECT_TRUE(main->modified());
    EXPECT_EQ(main->slotList()->itemText(0), "1 - 1");

    main->undoClick();
    EXPECT_EQ(stageSet().current().musicName, "x.mid");
    EXPECT_NE(stageSet().current().findObject(0, 0), NO_RECORD);
    EXPECT_EQ(main->slotList()->itemText(0), "1 - 1*");
}

TEST_F(MainForm, OneDragIsOneStepToUndoAndRedo) {
    chooseObjectKind(4);
    drag({{0, 0}, {16, 0}, {32, 0}, {48, 0}});
    drag({{0, 32}, {16, 32}});
    EXPECT_EQ(objectsInUse(0), 6);
    main->undoClick();
    EXPECT_EQ(objectsInUse(0), 4);
    EXPECT_TRUE(main->modified());
    main->undoClick();
    EXPECT_EQ(objectsInUse(0), 0);
    EXPECT_FALSE(main->modified()) << "back at the state of the start";
    EXPECT_EQ(main->slotList()->itemText(0), "1 - 1");
    main->redoClick();
    EXPECT_EQ(objectsInUse(0), 4);
    EXPECT_TRUE(main->modified());
    main->redoClick();
    EXPECT_EQ(objectsInUse(0), 6);
    EXPECT_FALSE(main->document().canRedo());
}

TEST_F(MainForm, UndoKnowsTheSavedStateAndWhichStepsMarkTheSet) {
    chooseObjectKind(4);
    click({0, 0});
    dialogs.chosenFiles = {folder.stageFile("undo.vtg")};
    main->Save1Click();
    drag({{50, 50}, {66, 50}}, Qt::ShiftModifier); // a move changes what Save writes
    EXPECT_TRUE(main->modified());
    click({64, 64});
    EXPECT_TRUE(main->modified());
    main->undoClick();
    EXPECT_TRUE(main->modified()) << "the move is still there";
    main->undoClick(); // the move
    EXPECT_FALSE(main->modified());
    EXPECT_NE(stageSet().current().findObject(0, 0), NO_RECORD);
    main->undoClick(); // before the saved state
    EXPECT_TRUE(main->modified());
    EXPECT_EQ(objectsInUse(0), 0);
}

TEST_F(MainForm, UndoShowsTheSlotItChanges) {
    chooseObjectKind(4);
    click({0, 0});
    main->slotList()->setCurrentIndex(6);
    main->cmbStageChange();
    stageSet().viewLeft = 320;
    main->undoClick();
    EXPECT_EQ(stageSet().currentSlot, 0);
    EXPECT_EQ(main->slotList()->currentIndex(), 0);
    EXPECT_EQ(stageSet().viewLeft, 0);
    EXPECT_TRUE(stageSet().current().empty());
}

TEST_F(MainForm, TheSlotListShowsWhichSlotsHoldSomething) {
    stageSet().stageSlots[5].placeEnemy(0, 16, 0);
    main->slotList()->setCurrentIndex(2);
    main->cmbStageChange();
    stageSet().viewLeft = 48;
    main->imgCanvasMouseDown({0, 0}, Qt::RightButton, Qt::NoModifier); // rebuilds the list
    EXPECT_EQ(main->slotList()->itemText(5), "2 - 2*");
    EXPECT_EQ(main->slotList()->currentIndex(), 2) << "the selection is kept";
    main->slotList()->setCurrentIndex(5);
    main->cmbStageChange();
    EXPECT_EQ(stageSet().currentSlot, 5);
    EXPECT_EQ(stageSet().viewLeft, 0);
}

TEST_F(MainForm, MissingPicturesAreReportedAndTheEditorStillWorks) {
    std::filesystem::remove(folder.game() / "enemy.bmp");
    remakeForms();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_TRUE(dialogs.boxes[0].text.contains(folder.gamePath("enemy.bmp")));
    placeSomething();
    EXPECT_FALSE(stageSet().current().empty());
}

TEST_F(MainForm, TheHelpWindowOpensAtTheEditorsSection) {
    main->Help2Click();
    auto* browser = main->findChild<QTextBrowser*>();
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->source().fragment(), "context-23");
    EXPECT_TRUE(browser->toPlainText().contains("VeltaEdit"));

    std::filesystem::remove(folder.game() / "velta.html");
    main->Help2Click();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].caption, "ｴﾗｰ");
}

} // namespace
