// The editor's explanation file and help page in the game folder, and the
// asset builder's handling of bad explanation sources.
#include "assets/asset_builder_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <iconv.h>
#include <map>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kGameDir = VELTA_DIST_DIR;

using asset_test::BuilderRun;
using asset_test::readBytes;
using asset_test::runAssetBuilder;
using asset_test::writeBytes;

// Converts between encodings; false when the input is not valid in `from`.
bool convert(const std::string& input, const char* from, const char* to, std::string& output) {
    iconv_t descriptor = iconv_open(to, from);
    if (descriptor == reinterpret_cast<iconv_t>(-1)) return false;
    output.assign(input.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(input.data());
    char* out = output.data();
    std::size_t inLeft = input.size();
    std::size_t outLeft = output.size();
    const bool ok = iconv(descriptor, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(descriptor);
    output.resize(output.size() - outLeft);
    return ok && inLeft == 0;
}

// The profile file as the editor sees it: section -> key -> value, values as
// Shift-JIS bytes. Duplicate keys are collected separately since only the
// first would ever be read.
struct Profile {
    std::map<std::string, std::map<std::string, std::string>> sections;
    std::vector<std::string> duplicates;
};

Profile parseProfile(const std::string& text) {
    Profile profile;
    std::string section;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string key = line.substr(0, equals);
        auto& keys = profile.sections[section];
        if (keys.count(key))
            profile.duplicates.push_back(section + "/" + key);
        else
            keys[key] = line.substr(equals + 1);
    }
    return profile;
}

// Every object kind the game gives a meaning to, including the scenery
// kinds that the picture sheet shows.
std::vector<int> meaningfulObjectKinds() {
    std::vector<int> kinds;
    const std::vector<std::pair<int, int>> ranges = {{1, 15},  {17, 24}, {26, 31},
                                                     {33, 44}, {46, 63}, {64, 255}};
    for (const auto& [first, last] : ranges)
        for (int kind = first; kind <= last; ++kind)
            kinds.push_back(kind);
    return kinds;
}

fs::path assetBuilder() {
    return VELTA_ASSET_BUILDER;
}

// A scratch assets folder with the real help page and a given explanation
// source, and an empty game folder beside it.
class TextsBuilderTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(assetBuilder())) << assetBuilder();
        root_ = fs::temp_directory_path() /
                ("velta_texts_" + std::to_string(::getpid()) + "_" +
                 testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "game");
        writeBytes(root_ / "assets" / "help" / "velta.html",
                   readBytes(fs::path(VELTA_SOURCE_DIR) / "assets" / "help" / "velta.html"));
    }
    void TearDown() override {
        if (!root_.empty()) fs::remove_all(root_);
    }

    BuilderRun build(const std::string& explanationSource) {
        writeBytes(root_ / "assets" / "texts" / "exp.dat.utf8", explanationSource);
        return runAssetBuilder("texts '" + (root_ / "assets").string() + "' '" +
                               (root_ / "game").string() + "'");
    }
    fs::path builtExplanations() const { return root_ / "game" / "editor" / "exp.dat"; }
    fs::path builtHelp() const { return root_ / "game" / "velta.html"; }

    fs::path root_;
};

} // namespace

namespace {

// "0" or a number of up to three digits without leading zeros, as "%d" makes them.
bool isEditorKey(const std::string& key) {
    if (key.empty() || key.size() > 3) return false;
    if (key.size() > 1 && key[0] == '0') return false;
    return std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Every text between the opening and the next double quote, for each opening.
std::vector<std::string> quotedAfter(const std::string& page, const std::string& opening) {
    std::vector<std::string> found;
    for (size_t at = page.find(opening); at != std::string::npos; at = page.find(opening, at + 1)) {
        const size_t start = at + opening.size();
        const size_t end = page.find('"', start);
        if (end == std::string::npos) break;
        if (page.compare(end, 2, "\">") == 0) found.push_back(page.substr(start, end - start));
    }
    return found;
}

void expectExplainsEveryKind(const Profile& profile) {
    EXPECT_TRUE(profile.duplicates.empty()) << profile.duplicates.front();
    ASSERT_TRUE(profile.sections.count("MAPCHIP"));
    ASSERT_TRUE(profile.sections.count("ENEMY"));

    const auto& objects = profile.sections.at("MAPCHIP");
    for (int kind : meaningfulObjectKinds())
        EXPECT_TRUE(objects.count(std::to_string(kind))) << "no MAPCHIP explanation for " << kind;
    const auto& enemies = profile.sections.at("ENEMY");
    for (int kind = 0; kind <= 13; ++kind)
        EXPECT_TRUE(enemies.count(std::to_string(kind))) << "no ENEMY explanation for " << kind;

    // The editor builds its keys with "%d": a key such as "07" would never be found.
    for (const auto& [name, keys] : profile.sections) {
        for (const auto& [key, value] : keys) {
            EXPECT_TRUE(isEditorKey(key)) << name << " key '" << key << "'";
            EXPECT_FALSE(value.empty()) << name << "/" << key;
            // The editor reads a value into 1024 bytes, terminator included.
            EXPECT_LE(value.size(), 1023u) << name << "/" << key;
        }
    }
}

} // namespace

TEST(ExplanationFile, IsShiftJisWithCrlfLineEnds) {
    const fs::path path = kGameDir / "editor" / "exp.dat";
    ASSERT_TRUE(fs::exists(path)) << path;
    const std::string bytes = readBytes(path);
    ASSERT_FALSE(bytes.empty());

    std::string utf8;
    EXPECT_TRUE(convert(bytes, "CP932", "UTF-8", utf8)) << "not valid CP932";

    // Scan the raw bytes: a 0x0A trail byte cannot occur in Shift-JIS, so
    // every LF must follow a CR and every CR must precede an LF.
    int line = 1;
    int firstBadLine = 0;
    for (std::size_t i = 0; i < bytes.size() && firstBadLine == 0; ++i) {
        const bool bareLf = bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r');
        const bool bareCr = bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n');
        if (bareLf || bareCr) firstBadLine = line;
        if (bytes[i] == '\n') ++line;
    }
    EXPECT_EQ(firstBadLine, 0) << "line " << firstBadLine << " does not end in CR LF";
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << "last line without a line end";
}

// The Japanese explanations and the English ones the editor shows in English.
TEST(ExplanationFile, ExplainsEveryObjectAndEnemyKind) {
    for (const char* name : {"exp.dat", "exp_en.dat"}) {
        SCOPED_TRACE(name);
        const std::string bytes = readBytes(kGameDir / "editor" / name);
        ASSERT_FALSE(bytes.empty());
        expectExplainsEveryKind(parseProfile(bytes));
    }
    const std::string english = readBytes(kGameDir / "editor" / "exp_en.dat");
    EXPECT_TRUE(std::all_of(english.begin(), english.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x80;
    })) << "the English explanations are plain ASCII";
}

TEST(HelpPage, HasContentsAnchorTablesAndWorkingLinks) {
    const fs::path path = kGameDir / "velta.html";
    ASSERT_TRUE(fs::exists(path)) << path;
    const std::string page = readBytes(path);
    std::string unused;
    EXPECT_TRUE(convert(page, "UTF-8", "UTF-16LE", unused)) << "not valid UTF-8";

    // The editor opens its help at context 23.
    EXPECT_NE(page.find("<a name=\"context-23\">"), std::string::npos);
    EXPECT_EQ(page.find("<!--@"), std::string::npos) << "a table marker was left unfilled";
    // The object table reaches the cannons; the enemy table the last enemy kind.
    EXPECT_NE(page.find("<td align=\"right\">62</td>"), std::string::npos);
    EXPECT_NE(page.find("<td align=\"right\">13</td>"), std::string::npos);

    std::set<std::string> anchors;
    for (const std::string& name : quotedAfter(page, "<a name=\""))
        EXPECT_TRUE(anchors.insert(name).second) << "anchor " << name << " repeated";
    for (const std::string& target : quotedAfter(page, "<a href=\"#"))
        EXPECT_TRUE(anchors.count(target)) << "link to missing anchor #" << target;
}

TEST_F(TextsBuilderTest, ExpandsRangesIntoOneKeyPerKindAndFillsTheHelpTables) {
    const BuilderRun run = build("; comment\n[MAPCHIP]\n3=コイン\n64-66=地形～髙\n"
                                 "[ENEMY]\n0=歩く敵 & <b>\n");
    ASSERT_EQ(run.status, 0) << run.output;

    std::string expected;
    ASSERT_TRUE(convert("[MAPCHIP]\r\n3=コイン\r\n64=地形～髙\r\n65=地形～髙\r\n66=地形～髙\r\n"
                        "\r\n[ENEMY]\r\n0=歩く敵 & <b>\r\n",
                        "UTF-8", "CP932", expected));
    EXPECT_EQ(readBytes(builtExplanations()), expected);

    const std::string page = readBytes(builtHelp());
    EXPECT_NE(page.find("<td align=\"right\">64-66</td><td>地形～髙</td>"), std::string::npos);
    EXPECT_NE(page.find("<td>歩く敵 &amp; &lt;b&gt;</td>"), std::string::npos);
}

TEST_F(TextsBuilderTest, RejectsBadSourcesWithTheirLineAndWritesNothing) {
    const std::string tail = "\n[ENEMY]\n0=x\n";
    const struct {
        const char* name;
        std::string source;
        std::string message;
    } cases[] = {
        {"no CP932 code", "[MAPCHIP]\n3=ok\n4=café" + tail, "exp.dat.utf8:3:6: U+00E9"},
        {"malformed UTF-8", "[MAPCHIP]\n3=a\xff" + tail, "exp.dat.utf8:2:4: malformed UTF-8"},
        {"leading zero", "[MAPCHIP]\n07=x" + tail, "exp.dat.utf8:2: key '07'"},
        {"kind above 255", "[MAPCHIP]\n256=x" + tail, "exp.dat.utf8:2: key '256'"},
        {"duplicate kind", "[MAPCHIP]\n64-70=x\n66=y" + tail,
         "exp.dat.utf8:3: kind 66 already given on line 2"},
        {"backward range", "[MAPCHIP]\n9-8=x" + tail, "exp.dat.utf8:2: range '9-8' runs backwards"},
        {"unknown section", "[MAPCHIPS]\n1=x" + tail, "exp.dat.utf8:1: unknown section"},
        {"entry before a section", "1=x\n[MAPCHIP]" + tail, "exp.dat.utf8:1: entry outside"},
        {"empty text", "[MAPCHIP]\n1=" + tail, "exp.dat.utf8:2: empty explanation"},
        {"quoted text", "[MAPCHIP]\n1=\"x\"" + tail,
         "exp.dat.utf8:2: explanation in double quotes"},
        {"too long for the editor", "[MAPCHIP]\n1=" + std::string(1024, 'a') + tail,
         "exp.dat.utf8:2: explanation is 1024 bytes"},
        {"no enemy section", "[MAPCHIP]\n1=x\n", "no [ENEMY] explanations"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const BuilderRun run = build(c.source);
        EXPECT_NE(run.status, 0);
        EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
        EXPECT_FALSE(fs::exists(builtExplanations()));
        EXPECT_FALSE(fs::exists(builtHelp()));
    }
}

TEST_F(TextsBuilderTest, AcceptsTheLongestValueTheEditorCanRead) {
    // 511 two-byte characters and one single byte: exactly 1023 bytes.
    std::string text;
    for (int i = 0; i < 511; ++i)
        text += "あ";
    text += "a";
    const BuilderRun run = build("[MAPCHIP]\n1=" + text + "\n[ENEMY]\n0=x\n");
    EXPECT_EQ(run.status, 0) << run.output;
}
