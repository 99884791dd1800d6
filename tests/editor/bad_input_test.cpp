// Files the editor reads that are broken, cut short, empty or full of
// numbers out of any range: a file error is the error box, nothing crashes,
// and a file the user did not change is never written.
#include "enemy_definitions.h"
#include "stage_file_io.h"
#include "support/editor_forms.h"

#include <QFileInfo>

#include <algorithm>
#include <filesystem>

namespace {

using Answer = Dialogs::Answer;

const QByteArray HEADER = "c\r\na\r\nm\r\n4\r\n0\r\n";

// Bytes with NULs in them, whole.
template <size_t N> QByteArray bytes(const char (&text)[N]) {
    return QByteArray(text, N - 1);
}
const QByteArray BLOCK = "stage_begin\r\ndef.mid\r\n0\r\n";

class BadInput : public EditorForms {
  protected:
    // Opens the bytes as a stage file; the file is left as it was found.
    void open(const QByteArray& bytes) {
        const QString path = folder.stageFile("bad.vtg");
        writeBytes(path, bytes);
        const auto stamp = std::filesystem::last_write_time(path.toStdString());
        dialogs.chosenFiles = {path};
        main->Open1Click();
        main->btnSeekToEndClick();
        main->btnSeekToCenterClick();
        // Nothing asks to save a file that was only looked at.
        main->New1Click();
        EXPECT_EQ(fileBytes(path), bytes);
        EXPECT_EQ(std::filesystem::last_write_time(path.toStdString()), stamp);
    }
    std::vector<ShownBox> errorBoxes() const {
        std::vector<ShownBox> found;
        for (const ShownBox& box : dialogs.boxes)
            if (box.icon == Dialogs::Icon::Error) found.push_back(box);
        return found;
    }
};

TEST_F(BadInput, BrokenStageFilesAreTheErrorBoxAndChangeNothing) {
    const struct {
        const char* label;
        QByteArray file;
        const char* error; // empty: the file opens
    } cases[] = {
        {"an empty file", "", "line 1"},
        {"only line ends", "\r\n\r\n\r\n\r\n\r\n\r\n", "line 4"},
        {"the header cut short", "c\r\na\r\nm\r\n4", "line 5"},
        {"a record cut short", HEADER + BLOCK + "16\r\n224", "line 11"},
        {"a list without its -1", HEADER + BLOCK + "16\r\n224\r\n1\r\n", "line 12"},
        {"garbage", bytes("\x00\xff\x7f\x01\n\x80\n\x1b[2J\n\xfe\xfe\n\x00"), "line 4"},
        {"x past the 32-bit range", HEADER + BLOCK + "2147483648\r\n0\r\n1\r\n-1\r\n-1\r\nend;",
         "line 9"},
        {"x below the 32-bit range", HEADER + BLOCK + "-2147483649\r\n0\r\n1\r\n-1\r\n-1\r\nend;",
         "line 9"},
        {"lives past any range", "c\r\na\r\nm\r\n99999999999999999999\r\n0\r\nend;", "line 4"},
        {"the largest numbers",
         HEADER + BLOCK +
             "2147483647\r\n2147483647\r\n2147483647\r\n-1\r\n-2147483648\r\n"
             "-2147483648\r\n-2147483648\r\n-1\r\nend;",
         ""},
        {"numbers kept in a byte",
         "c\r\na\r\nm\r\n1000\r\n-7\r\nstage_begin\r\ndef.mid\r\n300\r\n16\r\n16\r\n257\r\n-1\r\n-"
         "1\r\nend;",
         ""},
        {"a lone lead byte at a line end", "c\x82\r\na\x81\r\nm\x9f\r\n4\r\n0\r\nend;", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        dialogs.boxes.clear();
        open(c.file);
        const std::vector<ShownBox> errors = errorBoxes();
        if (*c.error == '\0') {
            EXPECT_TRUE(errors.empty()) << errors.front().text.toStdString();
        } else {
            ASSERT_EQ(errors.size(), 1u);
            EXPECT_TRUE(errors[0].text.contains(c.error)) << errors[0].text.toStdString();
        }
        EXPECT_TRUE(
            std::none_of(dialogs.boxes.begin(), dialogs.boxes.end(),
                         [](const ShownBox& box) { return box.icon == Dialogs::Icon::Question; }))
            << "no question before New";
    }
}

TEST_F(BadInput, AFileTheEditorCanHoldIsSavedBackByteForByte) {
    const QByteArray files[] = {
        HEADER + BLOCK + "2147483647\r\n255\r\n255\r\n-1\r\n0\r\n0\r\n0\r\n-1\r\nend;",
        "c\x82\r\na\x81\r\nm\x9f\r\n4\r\n0\r\nend;",
    };
    for (const QByteArray& file : files) {
        SCOPED_TRACE(file.toStdString());
        writeBytes(folder.stageFile("bad.vtg"), file);
        dialogs.chosenFiles = {folder.stageFile("bad.vtg")};
        main->Open1Click();
        ASSERT_TRUE(dialogs.boxes.empty());
        dialogs.chosenFiles = {folder.stageFile("again.vtg")};
        main->SaveAs1Click();
        EXPECT_EQ(fileBytes(folder.stageFile("again.vtg")), file);
    }
}

TEST_F(BadInput, SavingOpeningAndSavingAgainWritesTheSameFile) {
    // Found by a fuzzer: a block whose only record lies below the stage. Its
    // block would be written empty, read back as an empty slot and left out
    // at the next save, renumbering the stages after it.
    const QByteArray file = HEADER + "stage_begin\r\n4\r\n2\r\n1856\r\n402\r\n51\r\n-1\r\n-1\r\n" +
                            BLOCK + "16\r\n16\r\n1\r\n-1\r\n-1\r\nend;";
    writeBytes(folder.stageFile("bad.vtg"), file);
    QByteArray saved[2];
    // The warning on opening, then Yes to leaving out what cannot be kept.
    dialogs.answers = {Answer::Ok, Answer::Yes};
    for (QByteArray& bytes : saved) {
        dialogs.chosenFiles = {folder.stageFile("bad.vtg"), folder.stageFile("again.vtg")};
        main->Open1Click();
        main->SaveAs1Click();
        bytes = fileBytes(folder.stageFile("again.vtg"));
        writeBytes(folder.stageFile("bad.vtg"), bytes);
    }
    EXPECT_EQ(saved[0], saved[1]);
    EXPECT_EQ(saved[0], HEADER + BLOCK + "16\r\n16\r\n1\r\n-1\r\n-1\r\nend;");
    // The first file was said to lose its block, on opening and on saving;
    // the saved file opens and saves without a word.
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[0].caption, "警告");
    EXPECT_EQ(dialogs.boxes[1].buttons, Dialogs::Buttons::YesNoDefaultNo);
}

TEST_F(BadInput, ALongNumberLineIsQuotedShortInTheErrorBox) {
    const QByteArray line(200 * 1024, '7');
    for (const QByteArray& file : {"c\r\na\r\nm\r\n" + line + "x\r\n0\r\nend;",
                                   HEADER + BLOCK + "16\r\n" + line + "\x82\r\n1\r\n-1\r\n"}) {
        dialogs.boxes.clear();
        open(file);
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        const QString text = dialogs.boxes[0].text;
        // The path, then the line's number and the start of what stands there.
        for (const QString& shown : text.split('\n'))
            EXPECT_LE(shown.size(), folder.stageFile("bad.vtg").size() + 100)
                << shown.left(200).toStdString();
        EXPECT_TRUE(text.contains("'7777777777")) << text.left(200).toStdString();
        EXPECT_TRUE(text.contains("...")) << text.left(200).toStdString();
    }
}

TEST_F(BadInput, BrokenEnemyDefinitionsAreReportedAndTheEditorWorksOn) {
    const QString definition = folder.gamePath("dat/e00.dat");
    const struct {
        const char* label;
        QByteArray file;
        bool reported; // a value that is no pair of numbers
        int height;
    } cases[] = {
        {"an empty file", "", false, 0},
        {"garbage", bytes("\x00\xff[\x01=\n=\x02\n[GENERAL\nSIZE"), false, 0},
        {"numbers past the 32-bit range", "[GENERAL]\r\nSIZE=16,99999999999\r\n", true, 0},
        {"a value of 200 KB", "[GENERAL]\r\nSIZE=" + QByteArray(200 * 1024, '9') + "\r\n", true, 0},
        {"the largest numbers",
         "[GENERAL]\r\nSIZE=2147483647,2147483647\r\n[PAT]\r\n00=2147483647,-2147483648\r\n", false,
         INT32_MAX},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        writeBytes(definition, c.file);
        dialogs.boxes.clear();
        remakeForms();
        EXPECT_EQ(dialogs.boxes.size(), c.reported ? 1u : 0u);
        for (const ShownBox& box : dialogs.boxes) {
            EXPECT_EQ(box.icon, Dialogs::Icon::Error);
            for (const QString& shown : box.text.split('\n'))
                EXPECT_LE(shown.size(), definition.size() + 100) << shown.left(200).toStdString();
        }
        EXPECT_EQ(enemyDefinitions().of(0).height, c.height);
        // The enemy list, its preview, placing, drawing and picking go on.
        selector->setOperation(OPERATION_ENEMY);
        selector->selectEnemyKind(0);
        click({32, 32});
        stageSet().current().placeEnemy(64, 64, 0);
        main->btnSeekToEndClick();
        click({64, 48}, Qt::RightButton);
        EXPECT_EQ(fileBytes(definition), c.file) << "never written";
    }
}

TEST_F(BadInput, ABrokenOrMissingExplanationFileExplainsNothing) {
    const QString explanations = folder.gamePath("editor/exp.dat");
    const QByteArray files[] = {
        bytes("\x00\xff[MAPCHIP\n1\n=\x82\n[ENEMY]\n=x\n0"),
        "[MAPCHIP]\r\n1=" + QByteArray(200 * 1024, 'x') + "\r\n",
    };
    for (const QByteArray& file : files) {
        writeBytes(explanations, file);
        chooseObjectKind(2);
        EXPECT_EQ(selector->statusText(), "2:(No comment)");
        chooseObjectKind(1);
        EXPECT_LE(selector->statusText().size(), 2 + 1023) << "the value as the editor reads it";
        EXPECT_EQ(fileBytes(explanations), file);
    }
    std::filesystem::remove(explanations.toStdString());
    remakeForms();
    chooseObjectKind(1);
    EXPECT_EQ(selector->statusText(), "1:(No comment)");
    selector->setOperation(OPERATION_ENEMY);
    selector->selectEnemyKind(0);
    EXPECT_EQ(selector->statusText(), "0:(No comment)");
}

} // namespace
