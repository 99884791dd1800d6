#include "stage_file_io.h"
#include "support/editor_forms.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

class StagePropTexts : public EditorForms {
  protected:
    void open(const QByteArray& file) {
        QString error;
        ASSERT_TRUE(parseStageFile(file, stageSet(), error)) << error.toStdString();
    }
};

std::string hex(const QByteArray& bytes) {
    return bytes.toHex(' ').toStdString();
}

TEST_F(StagePropTexts, ShowingAndStoringTheDialogLeavesTheFilesTextsAsTheyWere) {
    // Texts the edits would not hand back as they were given: a comment
    // longer than the memo takes, an author longer than a line edit takes,
    // control characters and bytes that are no character.
    const QByteArray file = QByteArray(1100, 'c') + "\xEE\xE0\r\n" + QByteArray(40000, 'a') +
                            "\r\n" + "tab\there\x01 \x80\r\n4\r\n0\r\n" +
                            "stage_begin\r\nx\x80\xFA\x5B.mid\r\n0\r\n0\r\n0\r\n1\r\n-1\r\n-1\r\n" +
                            "stage_begin\r\nlast.mid\r\n0\r\n0\r\n0\r\n1\r\n-1\r\n-1\r\nend;";
    open(file);
    properties->FormShow();
    properties->cmbStage->setCurrentIndex(1);
    properties->cmbStageChange(); // stores slot 1's music
    properties->Button2Click();
    properties->Button1Click();
    EXPECT_EQ(hex(stageFileBytes(stageSet())), hex(file));
}

TEST_F(StagePropTexts, AnEditIsStoredEvenWhenItTurnsBackToTheShownText) {
    open("c\r\nme\r\nm\r\n4\r\n0\r\nend;");
    properties->FormShow();
    properties->edtAuthor->setText("you");
    properties->Button2Click();
    EXPECT_EQ(stageSet().author, "you");
    properties->edtAuthor->setText("me");
    properties->Button2Click();
    EXPECT_EQ(stageSet().author, "me");
    properties->edtComment->setPlainText(QString(2000, 'x'));
    properties->Button1Click();
    EXPECT_EQ(stageSet().comment, QString(1024, 'x')) << "a typed comment still stops at 1024";
}

} // namespace
