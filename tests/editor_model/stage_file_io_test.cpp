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

// A file with the same bytes in each of its text lines: comment, author,
// clear message and the music names of its two blocks (lines 7 and 15).
QByteArray fileWithTexts(const QByteArray& text) {
    return text + "\r\n" + text + "\r\n" + text + "\r\n4\r\n0\r\n" + "stage_begin\r\n" + text +
           "\r\n0\r\n0\r\n0\r\n1\r\n-1\r\n-1\r\n" + "stage_begin\r\n" + text +
           "\r\n1\r\n-1\r\n16\r\n240\r\n2\r\n-1\r\nend;";
}

std::string hex(const QByteArray& bytes) {
    return bytes.toHex(' ').toStdString();
}

// The two-byte codes that glibc's CP932 reads as a character and writes back
// as other bytes: the NEC and IBM duplicates.
QList<QByteArray> duplicateCodes() {
    QList<QByteArray> codes;
    for (int lead = 0x81; lead <= 0xFC; ++lead)
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const QByteArray code = QByteArray(1, char(lead)) + char(trail);
            const QString decoded = fromCp932(code);
            if (decoded.size() == 1 && toCp932(decoded) != code) codes += code;
        }
    return codes;
}

TEST(StageFileRoundTrip, EveryDuplicateCodeComesBackAsTheFileHadIt) {
    const QList<QByteArray> codes = duplicateCodes();
    ASSERT_FALSE(codes.isEmpty());
    ASSERT_TRUE(codes.contains("\xEE\xE0")) << "髙 of the NEC-selected IBM rows";
    for (const QByteArray& code : codes) {
        SCOPED_TRACE(hex(code));
        const QByteArray file = fileWithTexts("a" + code + code + "z");
        EXPECT_EQ(hex(stageFileBytes(*readBack(file))), hex(file));
    }
}

TEST(StageFileRoundTrip, BytesThatAreNoCharacterComeBackAsTheyWere) {
    const struct {
        const char* label;
        QByteArray text;
    } cases[] = {
        {"bytes no character begins with", "\x80\xA0\xFD\xFE\xFF"},
        {"a lead byte at the line's end", "name\x81"},
        {"a lead byte of a duplicate row at the line's end", "\xEE\xE0\xEE"},
        {"a lead byte alone", "\xFC"},
        {"a lead byte before no trail byte", "\x81\x20\xEE\x7F"},
        {"duplicate codes after an undecodable byte", "\x80\xEE\xEE\xEE\xFC\x41"},
        {"a carriage return within the line", "a\rb"},
        {"a carriage return at the line's end", "ab\r"},
        {"nothing", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const QByteArray file = fileWithTexts(c.text);
        auto set = readBack(file);
        EXPECT_EQ(hex(stageFileBytes(*set)), hex(file));
        EXPECT_EQ(hex(stageFileBytes(*readBack(stageFileBytes(*set)))), hex(file));
    }
}

TEST(StageFileRoundTrip, AnEditedTextKeepsTheFilesFormOfEachCharacter) {
    // 髙 as the NEC rows write it (EE E0, glibc writes FB FC) and ∵ as the
    // IBM rows do (FA 5B, glibc writes 81 E6).
    const QByteArray taka = "\xEE\xE0", because = "\xFA\x5B";
    auto set = readBack(fileWithTexts(taka + because));
    const QString takaText = fromCp932(taka), becauseText = fromCp932(because);
    set->comment = becauseText + takaText + QString::fromUtf8("橋");
    set->author = "by " + takaText;
    set->clearMessage = QString::fromUtf8("∴") + becauseText; // ∴ is not in the file
    set->stageSlots[1].musicName = takaText + ".mid";
    const QList<QByteArray> lines = stageFileBytes(*set).split('\n');
    EXPECT_EQ(hex(lines[0]), hex(because + taka + toCp932(QString::fromUtf8("橋")) + "\r"));
    EXPECT_EQ(hex(lines[1]), hex("by " + taka + "\r"));
    EXPECT_EQ(hex(lines[2]), hex(toCp932(QString::fromUtf8("∴")) + because + "\r"));
    EXPECT_EQ(hex(lines[6]), hex(taka + because + "\r")) << "the first music name, as it was";
    EXPECT_EQ(hex(lines[14]), hex(taka + ".mid\r"));
}

TEST(StageFileRoundTrip, AnEditedTextTakesTheFormACharacterWasFirstMetIn) {
    // 薰 as the IBM rows write it (FB 9E, also toCp932's choice) and as the
    // NEC-selected rows do (EE 82): the file's first form wins either way.
    const QByteArray ibm = "\xFB\x9E", nec = "\xEE\x82";
    const struct {
        const char* label;
        QByteArray first;
        QByteArray later;
    } cases[] = {
        {"the IBM form first", ibm, nec},
        {"the NEC form first", nec, ibm},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        auto set = readBack(fileWithTexts(c.first + c.later));
        set->comment = fromCp932(ibm) + "!";
        EXPECT_EQ(hex(stageFileBytes(*set).split('\n')[0]), hex(c.first + "!\r"));
    }
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

// A block with the given object and enemy lines (each "x\r\ny\r\nkind\r\n").
QByteArray block(const QByteArray& objects, const QByteArray& enemies = {}) {
    return "stage_begin\r\nd.mid\r\n0\r\n" + objects + "-1\r\n" + enemies + "-1\r\n";
}

QByteArray records(int count, const char* kind = "1") {
    QByteArray lines;
    for (int i = 0; i < count; ++i)
        lines += QByteArray::number(16 * i) + "\r\n240\r\n" + kind + "\r\n";
    return lines;
}

TEST(StageFileReading, SaysOnceOfEachThingThatSavingWouldNotGiveBack) {
    const QByteArray header = "c\r\na\r\nm\r\n4\r\n0\r\n";
    const QByteArray one = records(1);
    const struct {
        const char* label;
        QByteArray file;
        const char* warning; // a part of the one warning; none when null
    } cases[] = {
        {"a whole file", header + block(one) + "end;", nullptr},
        {"a whole file with LF line ends", "c\na\nm\n4\n0\nend;\n", nullptr},
        {"36 blocks and end;", header + block(one).repeated(36) + "end;", nullptr},
        {"cut off after a block", header + block(one), "\"end;\""},
        {"cut off after the header", header, "\"end;\""},
        {"36 blocks, no end;", header + block(one).repeated(36), "\"end;\""},
        {"37 blocks", header + block(one).repeated(37) + "end;", "36"},
        {"1025 objects", header + block(records(1025)) + "end;", "1024"},
        {"65 enemies", header + block({}, records(65)) + "end;", "64"},
        {"a kind of 256", header + block(records(1, "256")) + "end;", "0～255"},
        {"a kind below 0", header + block(one, records(2, "-2")) + "end;", "0～255"},
        {"300 lives", "c\r\na\r\nm\r\n300\r\n0\r\n" + block(one) + "end;", "0～255"},
        {"a y of 256", header + block(one + "0\r\n256\r\n1\r\n") + "end;", "保存できる範囲"},
        {"an x below 0", header + block(one, "-16\r\n0\r\n1\r\n") + "end;", "保存できる範囲"},
        {"an empty block", header + block(one) + block({}) + "end;", "ｵﾌﾞｼﾞｪｸﾄも敵も"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        auto set = freshSet();
        QString error;
        QStringList warnings;
        ASSERT_TRUE(parseStageFile(c.file, *set, error, &warnings)) << error.toStdString();
        if (!c.warning) {
            EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
            EXPECT_EQ(stageFileBytes(*set).replace("\r", "").replace("\n", ""),
                      QByteArray(c.file).replace("\r", "").replace("\n", ""))
                << "a file read without a warning saves as it was";
            continue;
        }
        ASSERT_EQ(warnings.size(), 1) << warnings.join('\n').toStdString();
        EXPECT_TRUE(warnings[0].contains(QString::fromUtf8(c.warning)))
            << warnings[0].toStdString();
    }
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
