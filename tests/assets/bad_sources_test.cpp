// Mistakes in the asset sources, one table per notation: values left empty,
// fields missing, numbers at the ends of their range, repeats that never end.
// Each must be the builder's usual message naming the file, line and (where
// it knows it) column, and a failing exit: never a crash, a hang, or an
// output file written anyway.
#include "assets/asset_builder_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using asset_test::BuilderRun;
using asset_test::repeated;
using asset_test::runAssetBuilder;
using asset_test::writeBytes;

struct BadSource {
    const char* label;
    std::string text;
    std::string message; // expected after the file's name
};

class BadSources : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(VELTA_ASSET_BUILDER));
        root_ = fs::temp_directory_path() /
                ("velta_bad_sources_" + std::to_string(::getpid()) + "_" +
                 testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "game");
    }
    void TearDown() override {
        if (!root_.empty()) fs::remove_all(root_);
    }

    fs::path assets() const { return root_ / "assets"; }
    fs::path game() const { return root_ / "game"; }

    BuilderRun build(const char* what) {
        return runAssetBuilder(std::string(what) + " '" + assets().string() + "' '" +
                               game().string() + "'");
    }

    // Runs the builder once per case with the case's text in file; every case
    // must fail with its message and leave output unwritten.
    void expectRejected(const char* what, const fs::path& file, const fs::path& output,
                        const std::vector<BadSource>& cases) {
        for (const BadSource& c : cases) {
            SCOPED_TRACE(c.label);
            fs::remove(output);
            writeBytes(file, c.text);
            const BuilderRun run = build(what);
            EXPECT_EQ(run.status, 1) << "-1 is a crash:\n" << run.output;
            EXPECT_EQ(run.output.find("runtime error"), std::string::npos) << run.output;
            EXPECT_EQ(run.output.find("Sanitizer"), std::string::npos) << run.output;
            const std::string expected = file.filename().string() + ":" + c.message;
            EXPECT_NE(run.output.find(expected), std::string::npos)
                << "expected '" << expected << "' in:\n"
                << run.output;
            EXPECT_FALSE(fs::exists(output));
        }
    }

    fs::path root_;
};

// Every effect the game loads, each a plain tone, so that only the case's
// own file can fail.
void writePlainEffects(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(fs::path(VELTA_SOURCE_DIR) / "assets/sounds"))
        if (entry.path().extension() == ".txt")
            writeBytes(folder / entry.path().filename(), "tone sine freq=440 time=0.05\n");
}

TEST_F(BadSources, SoundNotation) {
    writePlainEffects(assets() / "sounds");
    ASSERT_EQ(build("sounds").status, 0);
    // The inputs a fuzzer found, after the byte that chose its target.
    const std::string fuzzedCoin = "# Coin: a short low ping answered by a ringing fifth above.\n"
                                   "tone square freq=C3 time=0.055 duty= .50release=0.005\n";
    const std::string fuzzedYaa =
        "# Throw and menu confirm: an airy whoosh into a short voiced \"yahit for it to end, so "
        "it stays undeoise freq=20000 time=0.12 formants=500>2800 atta=ck=0.03 vol=0.45 "
        "release=0.05\n"
        "tone saw freq=290>310 at=0.07 time=0.08 formants=,00>1250,2900>2600 vibrato=6,0.3 "
        "attack=0.015 vol=1.8 releasmants=200>1250,2900>2600 vibrato=6,0.3 attack=0.015 vol=1.8 "
        "release=0.020,2600 vibrato=6,0.3 " +
        std::string("\x01\0\0\0\0\0\0\x0f", 8) + "attack=0.02 vol=1.8 release=0.08\n";
    const std::string rests = repeated("r 16, ", 300);
    expectRejected(
        "sounds", assets() / "sounds" / "coin.txt", game() / "se" / "coin.wav",
        {
            {"empty duty", "tone square freq=880 time=0.05 duty=", "1:37: duty= needs a value"},
            {"empty freq", "tone square freq= time=0.1", "1:18: freq= needs a value"},
            {"empty lowpass", "tone noise time=0.1 lowpass=", "1:29: lowpass="},
            {"empty highpass", "tone noise time=0.1\n  highpass= vol=1", "2:12: highpass="},
            {"empty formant", "tone noise time=0.1 formants=300,,500",
             "1:34: formants needs a value"},
            {"empty sweep end", "tone sine time=0.1 freq=300>", "1:29: freq needs a"},
            {"empty list item", "tone sine time=0.1 arp=0,,7", "1:26: arp needs a"},
            {"empty vibrato", "tone sine time=0.1 vibrato=", "1:28: vibrato="},
            {"empty note pitch", "notes sine : C5 1/8, >G5 1/8", "1:22: note needs a"},
            {"empty echo value", "tone sine time=0.1\necho delay=", "2:12: delay="},
            {"fuzzed coin", fuzzedCoin, "2:37: duty= needs a value"},
            {"fuzzed yaa", fuzzedYaa, "2:50: formants needs a value"},
            {"notes for hours", "notes square tempo=10 : " + rests + "C5 1/8",
             "1:1825: the notes run past 30 s"},
            {"a time past any effect", "tone sine time=1e300", "1:16: time must lie"},
        });
}

TEST_F(BadSources, TuneNotation) {
    const std::string header = "tempo 120\ntime 4/4\nloop no\ntrack t\n  channel 1\n";
    expectRejected(
        "music", assets() / "music" / "t.tune", game() / "bgm" / "t.mid",
        {
            {"empty tempo", "tempo\ntrack t\n  c4\n", "1: tempo is quarter notes"},
            {"empty track setting", header + "  program\n  c4\n", "6: program needs a number"},
            {"huge tempo", "tempo 99999999999999999999\ntrack t\n  c4\n", "1: tempo is"},
            {"huge octave", header + "  o2147483648 c4\n", "6: octave 'o' needs"},
            {"a repeat of nothing, nested", header + "  [[[[[[v100]99]99]99]99]99]99 c4\n",
             "6: the track plays more than"},
            // Whole notes enough to pass 2^32 ticks and come round to a short one.
            {"a note tied on and on", header + "  c1" + repeated("^1", 2300000) + "\n",
             "6: the note is far too long"},
        });
}

TEST_F(BadSources, StageSourcesAndTheirEnemyDefinitions) {
    writeBytes(assets() / "music" / "def.tune", "");
    writeBytes(assets() / "dat" / "e00.dat", "[GENERAL]\r\nSIZE=16,2147483647\r\n");
    writeBytes(assets() / "dat" / "e01.dat", "[GENERAL]\r\nSIZE=16,-2147483648\r\n");
    const std::string stage = "stage: s\nmap:\n";
    expectRejected("stages", assets() / "stages" / "s.stages", game() / "stage" / "s.vtg",
                   {
                       {"empty lives", "lives:\n" + stage + "G\n", "1: lives: '' is not"},
                       {"empty music", "stage: s\nmusic:\nmap:\nG\n", "2: music needs"},
                       {"huge lives", "lives: 2147483648\n" + stage + "G\n", "1: lives: '"},
                       {"empty legend entry", "legend: Q=\n" + stage + "G\n", "1: legend entry"},
                       {"the tallest enemy", stage + "Ga\n", "3: enemy 'a' (kind 0, 2147483647"},
                       {"an enemy of negative height", stage + "Gb\n", "3: enemy 'b' (kind 1)"},
                   });
}

TEST_F(BadSources, PictureSheetsAndEnemyDefinitions) {
    // The other sheets and the palette as small as the builder takes them.
    std::string palette;
    for (int i = 0; i < 256; ++i)
        palette += std::to_string(i) + " c" + std::to_string(i) + " " +
                   (i == 0 ? "000000" : "808080") + "\n";
    writeBytes(assets() / "pictures" / "palette.txt", palette);
    const char* sheets[][2] = {{"chr", "256 256"},   {"mapobj", "256 256"}, {"beam", "64 64"},
                               {"enemy", "128 128"}, {"effect", "256 256"}, {"tt", "256 256"}};
    for (const auto& s : sheets)
        writeBytes(assets() / "pictures" / s[0] / "a.txt",
                   std::string("sheet ") + s[0] + ".bmp " + s[1] + "\nfill 0 0 16 16 c1\n");
    const std::string definition = "[GENERAL]\r\nNAME=a\r\nYASE=2\r\n[LINE]\r\n00=0100,Y,00;\r\n";
    expectRejected(
        "pictures", assets() / "pictures" / "beam" / "b.txt", game() / "beam.bmp",
        {
            {"art at the largest y",
             "sheet beam.bmp 64 64\nlegend\nx c1\nend\nart 0 2147483647\nx\nx\n",
             "6: pixel (0,2147483647)"},
            {"art at the largest x",
             "sheet beam.bmp 64 64\nlegend\nx c1\nend\nart 2147483647 0\n xx\n",
             "6: pixel (2147483648,0)"},
            {"fill without its colour", "sheet beam.bmp 64 64\nfill 0 0 4 4\n",
             "2: expected 'fill"},
            {"a huge fill", "sheet beam.bmp 64 64\nfill 0 0 2147483647 2147483647 c1\n",
             "2: fill rectangle"},
            {"a sheet size past int", "sheet beam.bmp 99999999999 64\n", "1: expected 'sheet"},
        });
    expectRejected(
        "pictures", assets() / "dat" / "e00.dat", game() / "dat" / "e00.dat",
        {
            {"the widest frame",
             "[GENERAL]\r\nNAME=a\r\nSIZE=2147483647,16\r\nYASE=2\r\n[PAT]\r\n00=1,0\r\n"
             "[LINE]\r\n00=0100,Y,00;\r\n",
             "6: frame rectangle reaches outside"},
            {"the tallest frame",
             "[GENERAL]\r\nNAME=a\r\nSIZE=16,2147483647\r\nYASE=2\r\n[PAT]\r\n00=0,1\r\n"
             "[LINE]\r\n00=0100,Y,00;\r\n",
             "6: frame rectangle reaches outside"},
            {"an empty size", "[GENERAL]\r\nNAME=a\r\nSIZE=\r\nYASE=2\r\n", "3: SIZE must"},
            {"an empty corner", definition + "[PAT]\r\n00=\r\n", "7: PAT value"},
        });
}

TEST_F(BadSources, ExplanationTexts) {
    writeBytes(assets() / "help" / "velta.html",
               "<a name=\"context-23\"><!--@MAPCHIP--><!--@ENEMY-->");
    expectRejected(
        "texts", assets() / "texts" / "exp.dat.utf8", game() / "editor" / "exp.dat",
        {
            {"an empty key", "[MAPCHIP]\n=x\n[ENEMY]\n0=x\n", "2: key ''"},
            {"an open range", "[MAPCHIP]\n1-=x\n[ENEMY]\n0=x\n", "2: key '1-'"},
            {"a huge kind", "[MAPCHIP]\n99999999999=x\n[ENEMY]\n0=x\n", "2: key '99999999999'"},
            {"an empty section name", "[]\n1=x\n[ENEMY]\n0=x\n", "1: unknown section"},
        });
}

TEST_F(BadSources, AFullDiskLeavesNoCutFile) {
    writeBytes(assets() / "music" / "def.tune", "");
    writeBytes(assets() / "dat" / "e00.dat", "[GENERAL]\r\nSIZE=16,16\r\n");
    writeBytes(assets() / "stages" / "s.stages", "stage: s\nmap:\nG\n#\n");
    ASSERT_EQ(build("stages").status, 0);
    const fs::path output = game() / "stage" / "s.vtg";
    const std::string before = asset_test::readBytes(output);
    writeBytes(assets() / "stages" / "s.stages", "comment: changed\nstage: s\nmap:\n.a\nG.\n##\n");
    // No byte fits on this disk; an ignored SIGXFSZ makes writes fail instead.
    const BuilderRun run =
        runAssetBuilder("stages '" + assets().string() + "' '" + game().string() + "'",
                        "trap '' XFSZ; ulimit -f 0; ");
    EXPECT_NE(run.status, 0) << run.output;
    EXPECT_EQ(asset_test::readBytes(output), before);
    for (const auto& entry : fs::directory_iterator(game() / "stage"))
        EXPECT_EQ(entry.path().filename(), "s.vtg") << "a leftover beside the output";
}

} // namespace
