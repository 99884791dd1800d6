#include "midi_preview.h"
#include "support/editor_forms.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QThread>

namespace {

// A player that only records what the interpreter asks of it.
struct RecordingPlayer : MidiPlayer {
    QStringList* calls;
    explicit RecordingPlayer(QStringList* log) : calls(log) {}
    bool open(const QString& path) override {
        *calls << "open " + path;
        return true;
    }
    bool play() override {
        *calls << "play";
        return true;
    }
    void stop() override { *calls << "stop"; }
    void close() override { *calls << "close"; }
};

class StageProp : public EditorForms {
  protected:
    StageProp() {
        setMci(std::make_unique<MciInterpreter>(std::make_unique<RecordingPlayer>(&calls)));
    }
    ~StageProp() override { setMci(nullptr); }

    void chooseSlot(int slot) {
        properties->cmbStage->setCurrentIndex(slot);
        properties->cmbStageChange();
    }

    QStringList calls;
};

TEST_F(StageProp, OpensOnTheCurrentSlotWithTheFilesValues) {
    stageSet().currentSlot = 3;
    stageSet().stageSlots[3].musicName = "four.mid";
    stageSet().stageSlots[3].background = 1;
    stageSet().stageSlots[3].placeObject(0, 0, 1);
    stageSet().startingLives = 12;
    stageSet().difficulty = 4;
    stageSet().comment = "about";
    properties->FormShow();
    EXPECT_EQ(properties->windowTitle(), "ﾌﾟﾛﾊﾟﾃｨ");
    EXPECT_EQ(properties->cmbStage->currentIndex(), 3);
    EXPECT_EQ(properties->cmbStage->itemText(3), "1 - 4*");
    EXPECT_EQ(properties->edtBgm->text(), "four.mid");
    EXPECT_EQ(properties->cmbBg->currentText(), "夜");
    EXPECT_EQ(properties->cmbLeft->currentText(), "12");
    EXPECT_EQ(properties->cmbDiff->currentText(), "Very hard");
    EXPECT_EQ(properties->edtComment->toPlainText(), "about");
    EXPECT_EQ(properties->edtClearMsg->text(), "Congratulations!");
}

TEST_F(StageProp, ChoosingAnotherSlotKeepsWhatWasTypedForThePreviousOne) {
    properties->FormShow();
    properties->edtBgm->setText("first.mid");
    properties->cmbBg->setCurrentIndex(1);
    chooseSlot(7);
    EXPECT_EQ(properties->edtBgm->text(), "def.mid");
    properties->edtBgm->setText("eighth.mid");
    properties->edtAuthor->setText("A. Builder");
    properties->Button2Click();
    EXPECT_EQ(stageSet().stageSlots[0].musicName, "first.mid");
    EXPECT_EQ(stageSet().stageSlots[0].background, 1);
    EXPECT_EQ(stageSet().stageSlots[7].musicName, "eighth.mid");
    EXPECT_EQ(stageSet().stageSlots[7].background, 0);
    EXPECT_EQ(stageSet().author, "A. Builder");
    EXPECT_TRUE(main->modified()) << "closing now would lose the properties";
}

TEST_F(StageProp, ListsChangeTheSetAtOnceAndTheCloseBoxStoresNothingElse) {
    properties->FormShow();
    properties->cmbLeft->setCurrentIndex(20);
    properties->cmbLeftChange();
    properties->cmbDiff->setCurrentIndex(2);
    properties->cmbDiffChange();
    properties->edtClearMsg->setText("not stored");
    properties->reject(); // the window's close box
    EXPECT_EQ(stageSet().startingLives, 20);
    EXPECT_EQ(stageSet().difficulty, 2);
    EXPECT_EQ(stageSet().clearMessage, "Congratulations!");
    properties->FormShow();
    properties->edtClearMsg->setText("stored^now");
    properties->Button1Click();
    EXPECT_EQ(stageSet().clearMessage, "stored^now");
}

TEST_F(StageProp, GoMakesTheShownSlotTheCurrentOne) {
    stageSet().viewLeft = 400;
    properties->FormShow();
    chooseSlot(13);
    properties->Button5Click();
    EXPECT_EQ(stageSet().currentSlot, 13);
    EXPECT_EQ(stageSet().viewLeft, 0);
    EXPECT_EQ(main->slotList()->currentIndex(), 13);
}

TEST_F(StageProp, TheCommentStaysOneLineOfAtMost1024Characters) {
    properties->FormShow();
    properties->edtComment->setPlainText(QString(1500, QChar(u'あ')));
    EXPECT_EQ(properties->edtComment->toPlainText().size(), 1024);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(properties->edtComment, &enter);
    EXPECT_FALSE(properties->edtComment->toPlainText().contains('\n'));
    EXPECT_EQ(stageSet().comment.size(), 1024) << "Enter stores, as the default button";
}

TEST_F(StageProp, ThePreviewSendsTheMusicCommandsAndTogglesItsCaption) {
    properties->FormShow();
    QFile::copy(folder.gamePath("bgm/def.mid"), folder.gamePath("bgm/with blanks.mid"));
    properties->edtBgm->setText("with blanks.mid");
    properties->Button4Click();
    EXPECT_EQ(properties->Button4->text(), "x");
    EXPECT_TRUE(properties->playing());
    EXPECT_EQ(calls, QStringList({"open " + folder.gamePath("bgm/with blanks.mid"), "play"}));
    properties->Button4Click();
    EXPECT_EQ(properties->Button4->text(), "?");
    EXPECT_FALSE(properties->playing());
    EXPECT_EQ(calls.mid(2), QStringList({"stop", "close"}));

    properties->Button4Click();
    calls.clear();
    properties->reject();
    EXPECT_EQ(calls, QStringList({"stop", "close"}));
    EXPECT_EQ(properties->Button4->text(), "?");
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(StageProp, APreviewOfAMissingFileIsReported) {
    properties->FormShow();
    for (const char* name : {"missing.mid", ""}) {
        SCOPED_TRACE(name);
        dialogs.boxes.clear();
        properties->edtBgm->setText(name);
        properties->Button4Click();
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].text, "指定されたﾌｧｲﾙは存在しません。");
        EXPECT_EQ(dialogs.boxes[0].caption, "ｴﾗｰ");
        EXPECT_EQ(dialogs.boxes[0].icon, Dialogs::Icon::Error);
        EXPECT_EQ(properties->Button4->text(), "?");
        EXPECT_TRUE(calls.isEmpty());
    }
}

TEST_F(StageProp, TheMusicDialogStartsAtTheSlotsMusicAndKeepsOnlyTheName) {
    stageSet().stageSlots[0].musicName = "def.mid";
    properties->FormShow();
    properties->edtBgm->setText("typed.mid");
    dialogs.chosenFiles = {folder.gamePath("bgm/chosen.mid")};
    properties->Button3Click();
    EXPECT_EQ(dialogs.openDialogFolders.back(), folder.gamePath("bgm"));
    EXPECT_EQ(dialogs.openDialogFiles.back(), "def.mid");
    EXPECT_EQ(properties->edtBgm->text(), "chosen.mid");
}

TEST(MciInterpreter, UnderstandsTheFourCommandStrings) {
    QStringList calls;
    MciInterpreter mci(std::make_unique<RecordingPlayer>(&calls));
    EXPECT_NE(mci.send("play Midi"), 0) << "nothing open yet";
    EXPECT_EQ(mci.send("open /music/a b.mid type sequencer alias Midi"), 0);
    EXPECT_NE(mci.send("play Other"), 0);
    EXPECT_NE(mci.send("rewind Midi"), 0);
    EXPECT_EQ(mci.send("play Midi"), 0);
    EXPECT_EQ(mci.send("stop Midi"), 0);
    EXPECT_EQ(mci.send("close Midi"), 0);
    EXPECT_NE(mci.send("play Midi"), 0) << "closed";
    EXPECT_EQ(calls, QStringList({"open /music/a b.mid", "play", "stop", "close"}));
}

TEST(MidiPreview, FluidSynthPlaysTheGamesMusic) {
    EditorFolder folder;
    const QString sound = folder.gamePath("preview.raw");
    MciInterpreter mci(makeFluidSynthPlayer(sound));
    ASSERT_EQ(mci.send("open " + folder.gamePath("bgm/def.mid") + " type sequencer alias Midi"), 0);
    ASSERT_EQ(mci.send("play Midi"), 0);
    QThread::msleep(1500);
    mci.send("stop Midi");
    mci.send("close Midi");
    const QByteArray samples = fileBytes(sound);
    ASSERT_GT(samples.size(), 44100) << "at least a quarter of a second of sound";
    const auto* values = reinterpret_cast<const int16_t*>(samples.constData());
    int loudest = 0;
    for (qsizetype i = 0; i < samples.size() / 2; ++i)
        loudest = std::max(loudest, std::abs(int(values[i])));
    EXPECT_GT(loudest, 1000) << "the music is heard, not silence";
    EXPECT_NE(mci.send("open " + folder.gamePath("bgm/none.mid") + " type sequencer alias Midi"),
              0);
}

} // namespace
