#include "stage_file_io.h"

#include "cp932.h"
#include "support/editor_folder.h"

#include <QList>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>

#include <sys/resource.h>

namespace {

// Half a megabyte each: kept off the stack.
std::unique_ptr<StageSet> freshSet() {
    auto set = std::make_unique<StageSet>();
    set->reset();
    return set;
}

std::unique_ptr<StageSet> readBack(const QByteArray& bytes) {
    auto set = freshSet();
    QString error;
    EXPECT_TRUE(parseStageFile(bytes, *set, error)) << error.toStdString();
    return set;
}

int inUse(const auto& records) {
    int n = 0;
    for (const PlacedRecord& r : records)
        n += r.inUse;
    return n;
}

TEST(StageFileWriting, WritesTheHeaderBlocksAndEndLineAsTheGameReadsThem) {
    auto set = freshSet();
    set->comment = "My stages";
    set->author = "Me";
    set->clearMessage = "Well^done";
    set->startingLives = 7;
    set->difficulty = 3;
    StageSlot& second = set->stageSlots[1];
    second.musicName = "night.mid";
    second.background = 1;
    second.placeObject(16, 224, 1);
    second.placeObject(32, 240, 200);
    second.placeEnemy(64, 240, 5);
    set->stageSlots[4].placeEnemy(0, 32, 2); // enemies only

    EXPECT_EQ(stageFileBytes(*set).toStdString(),
              "My stages\r\nMe\r\nWell^done\r\n7\r\n3\r\n"
              "stage_begin\r\nnight.mid\r\n1\r\n16\r\n224\r\n1\r\n32\r\n240\r\n200\r\n-1\r\n"
              "64\r\n240\r\n5\r\n-1\r\n"
              "stage_begin\r\ndef.mid\r\n0\r\n-1\r\n0\r\n32\r\n2\r\n-1\r\n"
              "end;");
}

TEST(StageFileWriting, AnEmptySetIsItsHeaderAndTheEndLine) {
    auto set = freshSet();
    EXPECT_EQ(stageFileBytes(*set).toStdString(),
              "(No comment)\r\n(Unknown)\r\nCongratulations!\r\n4\r\n0\r\nend;");
    auto read = readBack(stageFileBytes(*set));
    for (const StageSlot& slot : read->stageSlots)
        EXPECT_TRUE(slot.empty());
}

TEST(StageFileWriting, LeavesOutRecordsTheFileCannotHold) {
    auto set = freshSet();
    StageSlot& slot = set->stageSlots[0];
    const struct {
        int32_t x, y;
        bool kept;
    } cases[] = {{0, 0, true},    {-16, 0, false},    {0, -16, false}, {0, 256, false},
                 {16, 255, true}, {99984, 240, true}, {0, 4096, false}};
    uint8_t kind = 1;
    for (const auto& c : cases) {
        slot.placeObject(c.x, c.y, kind);
        slot.placeEnemy(c.x, c.y, kind);
        ++kind;
    }
    auto read = readBack(stageFileBytes(*set));
    const StageSlot& back = read->stageSlots[0];
    kind = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        const int object = back.findObject(c.x, c.y);
        const int enemy = back.findEnemy(c.x, c.y);
        EXPECT_EQ(object != NO_RECORD, c.kept);
        EXPECT_EQ(enemy != NO_RECORD, c.kept);
        if (c.kept) {
            EXPECT_EQ(back.objects[size_t(object)].kind, kind);
        }
        ++kind;
    }
    // No negative number but the list ends reaches the file.
    for (const QByteArray& line : stageFileBytes(*set).split('\n'))
        if (line.startsWith('-')) {
            EXPECT_EQ(line, "-1\r");
        }
}

TEST(StageFileWriting, KeepsEachTextFieldOnItsLine) {
    auto set = freshSet();
    set->comment = "two\nlines";
    set->author = "a\r\nb";
    set->stageSlots[0].musicName = "x\ny.mid";
    set->stageSlots[0].placeObject(0, 0, 1);
    auto read = readBack(stageFileBytes(*set));
    EXPECT_EQ(read->comment, "two lines");
    EXPECT_EQ(read->author, "a  b");
    EXPECT_EQ(read->stageSlots[0].musicName, "x y.mid");
    EXPECT_FALSE(read->stageSlots[0].empty());
}

TEST(StageFileRoundTrip, SlotsOneAndThreeBecomeTheFilesTwoBlocks) {
    auto set = freshSet();
    set->stageSlots[0].placeObject(16, 16, 1);
    set->stageSlots[0].musicName = "one.mid";
    set->stageSlots[2].placeObject(48, 48, 3);
    set->stageSlots[2].placeEnemy(64, 80, 4);
    set->stageSlots[2].background = 1;
    const QByteArray bytes = stageFileBytes(*set);
    EXPECT_EQ(bytes.count("stage_begin"), 2);

    // The reader fills the slots in file order.
    auto read = readBack(bytes);
    EXPECT_EQ(read->stageSlots[0].musicName, "one.mid");
    EXPECT_NE(read->stageSlots[0].findObject(16, 16), NO_RECORD);
    EXPECT_NE(read->stageSlots[1].findObject(48, 48), NO_RECORD);
    EXPECT_NE(read->stageSlots[1].findEnemy(64, 80), NO_RECORD);
    EXPECT_EQ(read->stageSlots[1].background, 1);
    EXPECT_TRUE(read->stageSlots[2].empty());
    EXPECT_EQ(stageFileBytes(*read), bytes);
}

TEST(StageFileRoundTrip, FullSlotsComeBackWhole) {
    auto set = freshSet();
    for (int s = 0; s < STAGE_SLOTS; ++s) {
        StageSlot& slot = set->stageSlots[size_t(s)];
        for (int i = 0; i < OBJECT_SLOTS; ++i)
            ASSERT_TRUE(slot.placeObject(16 * (i / 16), 16 * (i % 16), uint8_t(1 + i % 255)));
        for (int i = 0; i < ENEMY_SLOTS; ++i)
            ASSERT_TRUE(slot.placeEnemy(16 * i, 240, uint8_t(i % 32)));
        EXPECT_FALSE(slot.placeObject(99999, 0, 1)) << "the 1025th object";
        EXPECT_FALSE(slot.placeEnemy(99999, 0, 1)) << "the 65th enemy";
    }
    auto read = readBack(stageFileBytes(*set));
    for (int s = 0; s < STAGE_SLOTS; ++s) {
        const StageSlot& slot = read->stageSlots[size_t(s)];
        EXPECT_EQ(inUse(slot.objects), OBJECT_SLOTS);
        EXPECT_EQ(inUse(slot.enemies), ENEMY_SLOTS);
        EXPECT_EQ(slot.objects, set->stageSlots[size_t(s)].objects);
        EXPECT_EQ(slot.enemies, set->stageSlots[size_t(s)].enemies);
    }
}

TEST(StageFileRoundTrip, ShiftJisTextsSurviveByteForByte) {
    // 髙 (an extended CP932 character), ～ (0x8160), a backslash, a 0x5C trail
    // byte (ソ) and a byte that is no character at all.
    const QByteArray comment = "\xFB\xFC\x81\x60 C:\\stages \x83\x5C\x83\x74\x83\x67 \xA0\x80";
    const QByteArray file = comment +
                            "\r\n\x8D\xEC\x8E\xD2\r\nClear!\r\n4\r\n0\r\n"
                            "stage_begin\r\n\x83\x5C.mid\r\n0\r\n0\r\n0\r\n1\r\n-1\r\n-1\r\n"
                            "end;";
    auto set = readBack(file);
    EXPECT_EQ(set->comment.left(3), QString::fromUtf8("髙～ "));
    EXPECT_TRUE(set->comment.contains(QString::fromUtf8("C:\\stages ソフト")));
    EXPECT_EQ(set->author, QString::fromUtf8("作者"));
    EXPECT_EQ(set->stageSlots[0].musicName, QString::fromUtf8("ソ.mid"));
    EXPECT_EQ(stageFileBytes(*set), file);
    EXPECT_EQ(toCp932(QString::fromUtf8("髙～\\ソ")), QByteArray("\xFB\xFC\x81\x60\\\x83\x5C"));
}

TEST(StageFileReading, TakesTheLinesAsTheEditorWroteThemOrAsAnotherEditorMight) {
    const struct {
        const char* label;
        QByteArray file;
        int filledSlots;
    } cases[] = {
        {"header then end;", "c\r\na\r\nm\r\n4\r\n0\r\nend;", 0},
        {"LF line ends and a final line end",
         "c\na\nm\n4\n0\nstage_begin\nd.mid\n0\n0\n0\n1\n-1\n-1\nend;\n", 1},
        {"a file without its end line", "c\na\nm\n4\n0\nstage_begin\nd.mid\n0\n-1\n0\n0\n1\n-1\n",
         1},
        {"numbers followed by more text",
         "c\na\nm\n4 lives\n0\nstage_begin\nd.mid\n1 night\n16 \n32\n1\n-1\n-1\nend;", 1},
        {"only an exact end; ends", "c\na\nm\n4\n0\nend; \nd.mid\n0\n-1\n0\n0\n1\n-1\nend;", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        auto set = readBack(c.file);
        int filled = 0;
        for (const StageSlot& slot : set->stageSlots)
            filled += !slot.empty();
        EXPECT_EQ(filled, c.filledSlots);
    }
}

TEST(StageFileReading, AHandMadeStageKeepsItsFirst1024ObjectsAndReadsOn) {
    QByteArray file = "c\r\na\r\nm\r\n4\r\n0\r\nstage_begin\r\nd.mid\r\n0\r\n";
    for (int i = 0; i < OBJECT_SLOTS + 6; ++i)
        file += QByteArray::number(16 * i) + "\r\n0\r\n1\r\n";
    file += "-1\r\n-1\r\nstage_begin\r\nnext.mid\r\n0\r\n0\r\n0\r\n2\r\n-1\r\n-1\r\nend;";
    auto set = readBack(file);
    EXPECT_EQ(inUse(set->stageSlots[0].objects), OBJECT_SLOTS);
    EXPECT_EQ(set->stageSlots[0].findObject(16 * (OBJECT_SLOTS - 1), 0), OBJECT_SLOTS - 1);
    EXPECT_EQ(set->stageSlots[1].musicName, "next.mid");
    EXPECT_EQ(set->stageSlots[1].objects[0].kind, 2);
}

TEST(StageFileReading, ABrokenFileIsAnErrorAndChangesNothing) {
    EditorFolder folder;
    const struct {
        const char* label;
        QByteArray file;
        const char* error;
    } cases[] = {
        {"a word for the lives", "c\na\nm\nfour\n0\nend;", "line 4"},
        {"a list cut short", "c\na\nm\n4\n0\nstage_begin\nd.mid\n0\n16\n32\n", "line 11"},
        {"a kind that is no number", "c\na\nm\n4\n0\nstage_begin\nd.mid\n0\n16\n32\n1x\n-1\n",
         "line 11"},
        {"a number too large", "c\na\nm\n4\n0\nstage_begin\nd.mid\n0\n99999999999\n", "line 9"},
        {"the header cut short", "c\na\n", "line 3"},
    };
    auto set = freshSet();
    set->stageSlots[5].placeObject(0, 0, 9);
    set->comment = "kept";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const QString path = folder.stageFile("broken.vtg");
        writeBytes(path, c.file);
        QString error;
        EXPECT_FALSE(readStageFile(path, *set, error));
        EXPECT_TRUE(error.contains(c.error)) << error.toStdString();
        EXPECT_EQ(set->comment, "kept");
        EXPECT_NE(set->stageSlots[5].findObject(0, 0), NO_RECORD);
    }
    QString error;
    EXPECT_FALSE(readStageFile(folder.stageFile("missing.vtg"), *set, error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(StageFileWritingToDisk, AFailedWriteLeavesThePreviousFile) {
    EditorFolder folder;
    auto set = freshSet();
    set->stageSlots[0].placeObject(0, 0, 1);
    const QString path = folder.stageFile("kept.vtg");
    QString error;
    ASSERT_TRUE(writeStageFile(path, *set, error));
    const QByteArray before = fileBytes(path);
    EXPECT_EQ(before, stageFileBytes(*set));

    // The disk takes no more than a few bytes (a file size limit, which holds
    // for every user): the new contents cannot be written whole.
    for (int i = 0; i < 200; ++i)
        set->stageSlots[0].placeObject(16 * i, 16, 2);
    struct rlimit previous {};
    getrlimit(RLIMIT_FSIZE, &previous);
    struct rlimit small = previous;
    small.rlim_cur = 512;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const bool written = writeStageFile(path, *set, error);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(written);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(fileBytes(path), before);
    const std::filesystem::directory_iterator files(folder.game() / "stage");
    EXPECT_EQ(std::distance(begin(files), end(files)), 1) << "no half-written file beside it";
    EXPECT_FALSE(writeStageFile(folder.gamePath("no/such/folder/x.vtg"), *set, error));
}

} // namespace
