// MIDI files that kept the music player busy for ever inside one render call
// (the game froze and ignored the close request): they are refused when
// loaded, and the renderer never loops a piece without end whatever it gets.
#include "platform/child_process.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "platform/midi_file_check.h"
#include "platform/music.h"
#include "platform/music_library.h"
#include "platform/paths.h"
#include "platform/sdl/midi_renderer.h"

#include "support/fixture_files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path FIXTURES = fs::path(VELTA_SOURCE_DIR) / "tests" / "platform" / "fixtures";

// A header promising more tracks than the file holds, a track that lasts no
// time, and a fuzzer's file that spent more than 20 s in the player.
const char* const SPINNING_FILES[] = {"missing_track.mid", "empty_track.mid",
                                      "midi-timeout-2a89471eb4"};

std::string fixture(const char* name) {
    return readTextFile(FIXTURES / name);
}

std::string bigEndian(uint32_t value, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i)
        out += char((value >> (8 * i)) & 0xFF);
    return out;
}

std::string chunk(const std::string& name, const std::string& body) {
    return name + bigEndian(uint32_t(body.size()), 4) + body;
}

std::string header(uint16_t tracks, uint16_t division = 96, uint32_t length = 6) {
    return "MThd" + bigEndian(length, 4) + bigEndian(tracks > 1, 2) + bigEndian(tracks, 2) +
           bigEndian(division, 2);
}

// One track holding the given events (each with its delta time first).
std::string oneTrack(const std::string& events) {
    return header(1) + chunk("MTrk", events);
}

const std::string END = std::string("\x00\xFF\x2F\x00", 4);
const std::string QUARTER_NOTE = std::string("\x00\x90\x3C\x64\x60\x80\x3C\x00", 8);

std::vector<uint8_t> asBytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

TEST(MidiFileCheck, RefusesWhatThePlayerCouldNotLoop) {
    using namespace std::string_literals;
    const struct {
        const char* what;
        std::string bytes;
        bool loopable;
    } cases[] = {
        {"one quarter note", oneTrack(QUARTER_NOTE + END), true},
        {"running status after a note", oneTrack("\x00\x90\x3C\x64\x60\x3C\x00"s + END), true},
        {"no end of track, but whole", oneTrack(QUARTER_NOTE), true},
        {"an unknown chunk before the track",
         header(1) + chunk("XFIH", "ab") + chunk("MTrk", QUARTER_NOTE + END), true},
        {"notes that take no time", oneTrack("\x00\x90\x3C\x64\x00\x80\x3C\x00"s + END), false},
        {"only a marker after the notes",
         oneTrack("\x00\x90\x3C\x64\x00\x80\x3C\x00\x60\xFF\x06\x01x"s), false},
        {"two tracks promised, one there", header(2) + chunk("MTrk", QUARTER_NOTE + END), false},
        {"no track promised", header(0), false},
        {"track count above 255", header(256) + chunk("MTrk", QUARTER_NOTE + END), false},
        {"track running past the end", header(1) + "MTrk" + bigEndian(100, 4) + QUARTER_NOTE,
         false},
        {"event running past its track", oneTrack("\x00\x90\x3C"s), false},
        {"SMPTE time", header(1, 0xE728) + chunk("MTrk", QUARTER_NOTE + END), false},
        {"division 0", header(1, 0) + chunk("MTrk", QUARTER_NOTE + END), false},
        {"header length 8", header(1, 96, 8) + "\0\0"s + chunk("MTrk", QUARTER_NOTE + END), false},
        {"data byte without a status", oneTrack("\x00\x3C\x64"s + QUARTER_NOTE + END), false},
        {"running status after a meta event", oneTrack("\x00\xFF\x01\x01x\x00\x3C\x64"s + END),
         false},
        {"tempo 0", oneTrack("\x00\xFF\x51\x03\x00\x00\x00"s + QUARTER_NOTE + END), false},
        {"tempo of two bytes", oneTrack("\x00\xFF\x51\x02\x07\xA1"s + QUARTER_NOTE + END), false},
        {"end of track with data", oneTrack(QUARTER_NOTE + "\x00\xFF\x2F\x01\x00"s), false},
        {"a system common status", oneTrack("\x00\xF2\x00\x00"s + QUARTER_NOTE + END), false},
        {"delta time of five bytes", oneTrack("\x81\x81\x81\x81\x01\x90\x3C\x64"s + END), false},
        {"a chunk name that is no text",
         header(1) + chunk("\x01\x02\x03\x04"s, "") + chunk("MTrk", QUARTER_NOTE + END), false},
        {"no MIDI file", "not a tune at all", false},
        {"empty", "", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(midiFileLoopable(c.bytes), c.loopable) << c.what;
    for (const char* name : SPINNING_FILES)
        EXPECT_FALSE(midiFileLoopable(fixture(name))) << name;
}

// Ten seconds of music from each file must come back at once, whatever the
// player makes of it; before, the first render call never returned.
TEST(MidiRenderer, RendersFilesThePlayerCannotLoopWithoutHanging) {
    for (const char* name : SPINNING_FILES) {
        const std::vector<uint8_t> piece = asBytes(fixture(name));
        const ChildEnd end = runInChild(std::chrono::seconds(30), [&] {
            MidiRenderer renderer;
            if (!renderer.open(44100, 0.6) || !renderer.start(piece, true)) return false;
            std::vector<int16_t> block(1024 * 2);
            for (int rendered = 0; rendered < 44100 * 10; rendered += 1024)
                renderer.renderStereo(block.data(), 1024);
            return true;
        });
        EXPECT_EQ(end, ChildEnd::Passed) << name;
    }
}

std::string findSoundfont() {
    for (const char* path :
         {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2"})
        if (fs::exists(path)) return path;
    return {};
}

int loudest(const std::vector<int16_t>& samples, size_t first, size_t count) {
    int peak = 0;
    for (size_t i = first; i < first + count && i < samples.size(); ++i)
        peak = std::max(peak, std::abs(int(samples[i])));
    return peak;
}

// A piece of one half-second note is heard again and again until it is
// stopped, as when the player looped it for ever.
TEST(MidiRenderer, LoopsAPieceUntilItIsStopped) {
    const std::string soundfont = findSoundfont();
    if (soundfont.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
    MidiRenderer renderer;
    ASSERT_TRUE(renderer.open(44100, 0.6));
    ASSERT_TRUE(renderer.loadSoundfont(soundfont));
    ASSERT_TRUE(renderer.start(asBytes(oneTrack(QUARTER_NOTE + END)), true));
    std::vector<int16_t> sound(44100 * 2 * 3); // three seconds, stereo
    for (size_t frame = 0; frame < sound.size() / 2; frame += 1000)
        renderer.renderStereo(sound.data() + frame * 2,
                              int(std::min<size_t>(1000, sound.size() / 2 - frame)));
    const size_t tenth = 4410 * 2;
    for (int pass = 0; pass < 6; ++pass) // the note starts every half second
        EXPECT_GT(loudest(sound, size_t(pass) * 5 * tenth, tenth), 500) << "pass " << pass;

    renderer.stop();
    std::vector<int16_t> after(4410 * 2);
    renderer.renderStereo(after.data(), 4410);
    EXPECT_EQ(loudest(after, 0, after.size()), 0);
}

class MusicGuard : public testing::Test {
  protected:
    void SetUp() override {
        closeMusic();
        headless::resetAudio();
        folder = makeTempFolder("music-guard");
        writeMidiFile(folder / "bgm" / "def.mid");
        writeMidiFile(folder / "bgm" / "sub" / "inner.mid");
        writeMidiFile(folder / "outside.mid");
        fs::create_directories(folder / "bgm" / "folder.mid");
        fs::create_symlink(folder / "outside.mid", folder / "bgm" / "link.mid");
        fs::create_symlink(folder / "bgm" / "def.mid", folder / "bgm" / "inlink.mid");
        mkfifo((folder / "bgm" / "fifo.mid").c_str(), 0644);
        setGameFolderFromExecutable((folder / "velta").string());
        ASSERT_EQ(openMusic(), 0);
    }
    void TearDown() override {
        closeMusic();
        fs::remove_all(folder);
    }

    // The path now playing after the stage loader's call for a music line.
    std::string playingAfter(const std::string& musicLine) {
        stopAndFreeMusic();
        loadAndPlayMusic(("\\bgm\\" + musicLine).c_str());
        return headless::musicRecord().playingPath;
    }

    fs::path folder;
};

TEST_F(MusicGuard, FilesThePlayerCouldNotLoopAreNotPlayed) {
    loadAndPlayMusic("\\bgm\\def.mid");
    const std::string playing = headless::musicRecord().playingPath;
    ASSERT_FALSE(playing.empty());
    for (const char* name : SPINNING_FILES) {
        fs::copy_file(FIXTURES / name, folder / "bgm" / name);
        loadAndPlayMusic((std::string("\\bgm\\") + name).c_str());
        EXPECT_EQ(headless::musicRecord().playingPath, playing) << name;
    }
}

TEST_F(MusicGuard, OnlyRegularFilesInsideTheMusicFolderArePlayed) {
    const std::string bgm = (folder / "bgm").string() + "/";
    const struct {
        const char* line;
        std::string plays; // empty: nothing
    } cases[] = {
        {"def.mid", bgm + "def.mid"},
        {"DEF.MID", bgm + "def.mid"},
        {"sub\\inner.mid", bgm + "sub/inner.mid"},
        {"inlink.mid", bgm + "inlink.mid"},
        {"..\\outside.mid", ""},
        {"sub\\..\\def.mid", ""},
        {"link.mid", ""},
        {"folder.mid", ""},
        {"none.mid", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(playingAfter(c.line), c.plays) << c.line;
}

// A FIFO or a device waits for a writer that never comes: the game stood on
// "NOW LOADING" for good.
TEST_F(MusicGuard, DevicesAndFifosAreNotWaitedFor) {
    const std::string up = "..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\";
    for (const std::string& line : {std::string("fifo.mid"), up + "dev\\stdin", up + "dev\\zero"}) {
        const ChildEnd end = runInChild(std::chrono::seconds(20), [&] {
            const std::string playing = playingAfter(line);
            if (!playing.empty())
                std::fprintf(stderr, "%s plays %s\n", line.c_str(), playing.c_str());
            return playing.empty();
        });
        EXPECT_EQ(end, ChildEnd::Passed) << line;
    }
}

} // namespace
