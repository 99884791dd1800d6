#include "platform/profile.h"

#include "support/fixture_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class ProfileFile : public testing::Test {
  protected:
    void SetUp() override {
        folder_ = makeTempFolder("profile").string();
        path_ = folder_ + "/config.ini";
    }
    void TearDown() override { fs::remove_all(folder_); }

    void writeFile(const std::string& text, const std::string& name = "config.ini") {
        std::ofstream(folder_ + "/" + name, std::ios::binary) << text;
    }
    std::string readFile(const std::string& name = "config.ini") {
        std::ifstream in(folder_ + "/" + name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::vector<std::string> folderEntries() {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_))
            names.push_back(entry.path().filename().string());
        return names;
    }

    std::string folder_;
    std::string path_;
};

struct ReadCase {
    const char* what;
    const char* file;
    const char* section;
    const char* key;
    const char* expected; // with default "DEF"
};

TEST_F(ProfileFile, ReadsStringsWithWindowsRules) {
    const ReadCase cases[] = {
        {"exact", "[A]\nK=v\n", "A", "K", "v"},
        {"section and key ignore case", "[Ranking]\nKey=v\n", "RANKING", "kEY", "v"},
        {"blanks around key and value trimmed", "[A]\n  K \t=  two words  \n", "A", "K",
         "two words"},
        {"blanks inside the brackets ignored", "[ A ]\nK=v\n", "A", "K", "v"},
        {"first key wins", "[A]\nK=first\nK=second\n", "A", "K", "first"},
        {"only the first section of a name is searched", "[A]\nX=1\n[A]\nK=later\n", "A", "K",
         "DEF"},
        {"missing section gives the default", "[B]\nK=v\n", "A", "K", "DEF"},
        {"missing key gives the default", "[A]\nL=v\n", "A", "K", "DEF"},
        {"key of another section not seen", "[A]\n[B]\nK=v\n", "A", "K", "DEF"},
        {"key before any section not seen", "K=v\n[A]\n", "A", "K", "DEF"},
        {"comment line is no key", "[A]\n;K=v\n", "A", "K", "DEF"},
        {"empty value is found", "[A]\nK=\n", "A", "K", ""},
        {"equals sign inside the value", "[A]\nK=a=b\n", "A", "K", "a=b"},
        {"double quotes stripped", "[A]\nK=\" padded \"\n", "A", "K", " padded "},
        {"single quotes stripped", "[A]\nK='x'\n", "A", "K", "x"},
        {"unmatched quotes kept", "[A]\nK=\"x'\n", "A", "K", "\"x'"},
        {"CRLF line ends", "[A]\r\nK=v\r\nL=w\r\n", "A", "L", "w"},
        {"last line without line end", "[A]\nK=v", "A", "K", "v"},
        {"Shift-JIS bytes kept", "[A]\nK=\x83\x65\x83\x58\x83\x67\n", "A", "K",
         "\x83\x65\x83\x58\x83\x67"},
    };
    for (const ReadCase& c : cases) {
        writeFile(c.file);
        EXPECT_EQ(profileReadString(path_, c.section, c.key, "DEF"), c.expected) << c.what;
    }
}

TEST_F(ProfileFile, MissingFileGivesDefaultsWithTrailingBlanksDropped) {
    EXPECT_EQ(profileReadString(path_, "A", "K", "NO DATA  "), "NO DATA");
    EXPECT_EQ(profileReadInt(path_, "A", "K", 7), 7);
}

TEST_F(ProfileFile, ReadStringIsCutToTheBuffer) {
    writeFile("[A]\nK=abcdef\n");
    EXPECT_EQ(profileReadString(path_, "A", "K", "", 4), "abc");
    EXPECT_EQ(profileReadString(path_, "A", "K", "", 0), "");
}

TEST_F(ProfileFile, ReadsIntegersLikeGetPrivateProfileInt) {
    // clang-format off
    const struct {
        const char* value;
        int expected; // with default 99
    } cases[] = {
        {"12", 12},     {"-1", -1},         {"+7", 7},  {"42abc", 42}, {"abc", 0},
        {"", 99},       {"4294967297", 1},  {"\"5\"", 5}, {"  3  ", 3}, {"-", 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        writeFile(std::string("[A]\nK=") + c.value + "\n");
        EXPECT_EQ(profileReadInt(path_, "A", "K", 99), c.expected) << '"' << c.value << '"';
    }
    writeFile("[A]\n");
    EXPECT_EQ(profileReadInt(path_, "A", "K", 99), 99);
}

struct WriteCase {
    const char* what;
    const char* before; // nullptr: no file
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

TEST_F(ProfileFile, WriteChangesOnlyWhatItMust) {
    const WriteCase cases[] = {
        {"value replaced, everything else byte for byte",
         "; settings\r\n[CONTROLLER]\r\nDEVICE=1\r\n\r\n[RANKING]\r\n0=1 AZMFAQ\r\n1 =  old \r\n",
         "ranking", "1", "new",
         "; settings\r\n[CONTROLLER]\r\nDEVICE=1\r\n\r\n[RANKING]\r\n0=1 AZMFAQ\r\n1 =  new\r\n"},
        {"first of two equal keys replaced", "[A]\nK=1\nK=2\n", "A", "K", "3", "[A]\nK=3\nK=2\n"},
        {"missing key goes after the section's last line, before blank separators",
         "[A]\nK=1\n; note\n\n[B]\nL=2\n", "A", "M", "x", "[A]\nK=1\n; note\nM=x\n\n[B]\nL=2\n"},
        {"missing key in an empty last section", "[B]\nL=2\n[A]", "A", "K", "v",
         "[B]\nL=2\n[A]\nK=v\n"},
        {"missing section appended in the file's LF style", "[B]\nL=2\n", "A", "K", "v",
         "[B]\nL=2\n[A]\nK=v\n"},
        {"missing section appended in the file's CRLF style", "[B]\r\nL=2", "A", "K", "v",
         "[B]\r\nL=2\r\n[A]\r\nK=v\r\n"},
        {"new file uses CRLF", nullptr, "RANKING", "0", "5 AZMFAQ", "[RANKING]\r\n0=5 AZMFAQ\r\n"},
        {"empty value blanks the key", "[A]\nK=1\n", "A", "K", "", "[A]\nK=\n"},
        {"mixed line ends kept as found", "[A]\r\nK=1\nL=2\r\n", "A", "L", "3",
         "[A]\r\nK=1\nL=3\r\n"},
        {"a last line ending in a lone CR keeps its text and has its line end completed",
         "[RANKING]\r\n0=1 X\r", "RANKING", "1", "5 Y", "[RANKING]\r\n0=1 X\r\n1=5 Y\r\n"},
    };
    for (const WriteCase& c : cases) {
        fs::remove(path_);
        if (c.before) writeFile(c.before);
        EXPECT_TRUE(profileWriteString(path_, c.section, c.key, c.value)) << c.what;
        EXPECT_EQ(readFile(), c.after) << c.what;
        EXPECT_EQ(folderEntries(), std::vector<std::string>{"config.ini"})
            << c.what << ": the temporary file must be gone";
    }
}

TEST_F(ProfileFile, WriteReadsBackThroughTheSameRules) {
    ASSERT_TRUE(profileWriteString(path_, "RANKING", "3", "123456 FUIQHU"));
    EXPECT_EQ(profileReadString(path_, "ranking", "3", "NO DATA"), "123456 FUIQHU");
    EXPECT_EQ(profileReadInt(path_, "Ranking", "3", 0), 123456);
}

TEST_F(ProfileFile, WriteFindsTheFileInAnyLetterCase) {
    writeFile("[A]\nK=1\n", "CONFIG.INI");
    ASSERT_TRUE(profileWriteString(path_, "A", "K", "2"));
    EXPECT_EQ(readFile("CONFIG.INI"), "[A]\nK=2\n");
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"CONFIG.INI"});
}

TEST_F(ProfileFile, WriteRefusesLineBreaksThatWouldForgeLines) {
    writeFile("[A]\nK=1\n");
    EXPECT_FALSE(profileWriteString(path_, "A", "K", "2\n[B]\nX=1"));
    EXPECT_FALSE(profileWriteString(path_, "A", "K\r\nX", "2"));
    EXPECT_FALSE(profileWriteString(path_, "A\n", "K", "2"));
    EXPECT_EQ(readFile(), "[A]\nK=1\n");
}

TEST_F(ProfileFile, WriteIntoAMissingFolderFails) {
    EXPECT_FALSE(profileWriteString(folder_ + "/absent/config.ini", "A", "K", "v"));
    EXPECT_FALSE(fs::exists(folder_ + "/absent"));
}

} // namespace
