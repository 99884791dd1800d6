// The game's music: every bgm/*.mid is a well-formed standard MIDI file of the
// planned length that loops cleanly, and the tune compiler turns its notation
// into the notes it promises or stops with the file and line at fault.
#include "assets/asset_builder_run.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct MidiEvent {
    std::uint32_t tick = 0;
    std::uint8_t status = 0; // channel status, 0xFF meta, 0xF0/0xF7 system exclusive
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;
    std::uint8_t metaType = 0;
    std::vector<std::uint8_t> metaData;

    int channel() const { return (status & 0x0F) + 1; }
    bool isNoteOn() const { return (status & 0xF0) == 0x90 && data2 > 0; }
    bool isNoteOff() const {
        return (status & 0xF0) == 0x80 || ((status & 0xF0) == 0x90 && data2 == 0);
    }
    bool isMeta(std::uint8_t type) const { return status == 0xFF && metaType == type; }
};

struct MidiFile {
    int format = -1;
    int division = 0;
    std::vector<std::vector<MidiEvent>> tracks;
};

// A strict reader: any chunk or event that does not fit exactly is an error.
class MidiReader {
  public:
    explicit MidiReader(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    bool read(MidiFile& file, std::string& error) {
        if (!expectTag("MThd") || readBig(4) != 6) return fail(error, "bad header chunk");
        file.format = static_cast<int>(readBig(2));
        std::uint32_t trackCount = readBig(2);
        file.division = static_cast<int>(readBig(2));
        if (!ok_) return fail(error, "short header");
        for (std::uint32_t t = 0; t < trackCount; ++t) {
            if (!expectTag("MTrk"))
                return fail(error, "track " + std::to_string(t) + ": no MTrk chunk");
            std::uint32_t length = readBig(4);
            if (!ok_ || pos_ + length > bytes_.size())
                return fail(error, "track chunk runs past the file");
            file.tracks.emplace_back();
            if (!readTrack(pos_ + length, file.tracks.back(), error)) return false;
        }
        if (pos_ != bytes_.size()) return fail(error, "bytes after the last track");
        return true;
    }

  private:
    bool fail(std::string& error, const std::string& message) {
        error = message;
        return false;
    }

    std::uint8_t next() {
        if (pos_ >= end_) {
            ok_ = false;
            return 0;
        }
        return bytes_[pos_++];
    }

    std::uint32_t readBig(int count) {
        std::uint32_t value = 0;
        for (int i = 0; i < count; ++i)
            value = value << 8 | next();
        return value;
    }

    std::uint32_t readVariable() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            std::uint8_t byte = next();
            value = value << 7 | (byte & 0x7F);
            if ((byte & 0x80) == 0) return value;
        }
        ok_ = false;
        return 0;
    }

    bool expectTag(const char* tag) {
        for (int i = 0; i < 4; ++i) {
            if (next() != static_cast<std::uint8_t>(tag[i])) return false;
        }
        return ok_;
    }

    bool readTrack(std::size_t chunkEnd, std::vector<MidiEvent>& events, std::string& error) {
        std::size_t fileEnd = end_;
        end_ = chunkEnd;
        std::uint32_t tick = 0;
        std::uint8_t running = 0;
        bool ended = false;
        while (ok_ && pos_ < chunkEnd) {
            if (ended) return fail(error, "events after end-of-track");
            MidiEvent event;
            tick += readVariable();
            event.tick = tick;
            std::uint8_t first = next();
            if (first == 0xFF) {
                event.status = 0xFF;
                event.metaType = next();
                std::uint32_t length = readVariable();
                for (std::uint32_t i = 0; i < length && ok_; ++i)
                    event.metaData.push_back(next());
                ended = event.metaType == 0x2F;
                running = 0;
            } else if (first == 0xF0 || first == 0xF7) {
                event.status = first;
                std::uint32_t length = readVariable();
                for (std::uint32_t i = 0; i < length && ok_; ++i)
                    next();
                running = 0;
            } else {
                if (first & 0x80) {
                    running = first;
                    event.data1 = next();
                } else {
                    if (running == 0) return fail(error, "data byte without a running status");
                    event.data1 = first;
                }
                event.status = running;
                std::uint8_t kind = running & 0xF0;
                if (kind != 0xC0 && kind != 0xD0) event.data2 = next();
                if (event.data1 > 0x7F || event.data2 > 0x7F)
                    return fail(error, "data byte out of range");
            }
            events.push_back(event);
        }
        end_ = fileEnd;
        if (!ok_) return fail(error, "event runs past its track chunk");
        if (!ended) return fail(error, "track does not end with end-of-track");
        return true;
    }

    std::vector<std::uint8_t> bytes_;
    std::size_t pos_ = 0;
    std::size_t end_ = static_cast<std::size_t>(-1);
    bool ok_ = true;
};

std::vector<std::uint8_t> readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>());
}

bool readMidi(const fs::path& path, MidiFile& file, std::string& error) {
    if (!fs::exists(path)) {
        error = path.string() + " is missing";
        return false;
    }
    return MidiReader(readBytes(path)).read(file, error);
}

std::vector<MidiEvent> allEvents(const MidiFile& file) {
    std::vector<MidiEvent> events;
    for (const auto& track : file.tracks)
        events.insert(events.end(), track.begin(), track.end());
    std::stable_sort(events.begin(), events.end(),
                     [](const MidiEvent& a, const MidiEvent& b) { return a.tick < b.tick; });
    return events;
}

std::uint32_t endTick(const MidiFile& file) {
    std::uint32_t end = 0;
    for (const auto& track : file.tracks)
        end = std::max(end, track.back().tick);
    return end;
}

double secondsAt(const MidiFile& file, std::uint32_t ticks) {
    double seconds = 0.0;
    double microsPerQuarter = 500000.0;
    std::uint32_t from = 0;
    for (const MidiEvent& event : allEvents(file)) {
        if (event.tick >= ticks) break;
        if (!event.isMeta(0x51) || event.metaData.size() != 3) continue;
        seconds += (event.tick - from) * microsPerQuarter / file.division / 1e6;
        from = event.tick;
        microsPerQuarter = event.metaData[0] << 16 | event.metaData[1] << 8 | event.metaData[2];
    }
    return seconds + (ticks - from) * microsPerQuarter / file.division / 1e6;
}

std::uint32_t ticksPerBar(const MidiFile& file) {
    for (const MidiEvent& event : allEvents(file)) {
        if (event.isMeta(0x58) && event.metaData.size() == 4) {
            return event.metaData[0] *
                   (static_cast<std::uint32_t>(file.division) * 4 >> event.metaData[1]);
        }
    }
    return static_cast<std::uint32_t>(file.division) * 4;
}

// --- the pieces in the game folder ------------------------------------------

struct Piece {
    const char* file;
    double minSeconds;
    double maxSeconds;
};

// Stage pieces run 30 to 90 s; the staff roll lasts about 53 s, so its piece
// must outlast it.
constexpr std::array pieces{
    Piece{"def.mid", 30, 90}, Piece{"field.mid", 30, 90},  Piece{"cave.mid", 30, 90},
    Piece{"sky.mid", 30, 90}, Piece{"castle.mid", 30, 90}, Piece{"night.mid", 30, 90},
    Piece{"crd.mid", 60, 90},
};

class MusicPiece : public ::testing::TestWithParam<Piece> {
  protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(readMidi(fs::path(VELTA_DIST_DIR) / "bgm" / GetParam().file, midi_, error))
            << error;
    }
    MidiFile midi_;
};

TEST_P(MusicPiece, IsAFormatOneFileOfTracksThatAllEndTogetherOnABarLine) {
    EXPECT_EQ(midi_.format, 1);
    EXPECT_EQ(midi_.division, 480);
    ASSERT_GE(midi_.tracks.size(), 4u) << "conductor plus melody, harmony, bass and drums";
    std::uint32_t end = endTick(midi_);
    for (std::size_t t = 0; t < midi_.tracks.size(); ++t) {
        EXPECT_TRUE(midi_.tracks[t].back().isMeta(0x2F));
        EXPECT_EQ(midi_.tracks[t].back().tick, end)
            << "track " << t << " ends early, so the loop would stumble";
    }
    EXPECT_EQ(end % ticksPerBar(midi_), 0u) << "the piece must end on a bar line to loop";
}

TEST_P(MusicPiece, PlaysOnAtLeastThreeChannelsIncludingTheDrums) {
    std::set<int> channels;
    for (const MidiEvent& event : allEvents(midi_)) {
        if (event.isNoteOn()) channels.insert(event.channel());
    }
    EXPECT_GE(channels.size(), 3u);
    EXPECT_EQ(channels.count(10), 1u) << "no percussion on channel 10";
}

TEST_P(MusicPiece, LastsWithinItsPlannedRange) {
    double seconds = secondsAt(midi_, endTick(midi_));
    EXPECT_GE(seconds, GetParam().minSeconds);
    EXPECT_LE(seconds, GetParam().maxSeconds);
    bool hasTempo = false;
    for (const MidiEvent& event : midi_.tracks.front())
        hasTempo |= event.isMeta(0x51) && event.tick == 0;
    EXPECT_TRUE(hasTempo) << "the first track sets the tempo at the start";
}

// Every note that starts also stops before the loop restarts, and every
// playing channel has its instrument, volume, pan and reverb set before its
// first note.
TEST_P(MusicPiece, NotesAreBalancedAndChannelsSetUpBeforeTheyPlay) {
    for (const auto& track : midi_.tracks) {
        std::map<std::pair<int, int>, int> sounding;
        std::map<int, std::set<int>> setUp; // channel -> controllers seen, 128 for the program
        for (const MidiEvent& event : track) {
            int kind = event.status & 0xF0;
            if (event.status == 0xFF || event.status >= 0xF0) continue;
            if (kind == 0xC0) setUp[event.channel()].insert(128);
            if (kind == 0xB0) setUp[event.channel()].insert(event.data1);
            if (event.isNoteOn()) {
                const std::set<int>& seen = setUp[event.channel()];
                for (int needed : {128, 7, 10, 91}) {
                    EXPECT_EQ(seen.count(needed), 1u)
                        << "channel " << event.channel() << " lacks setting " << needed;
                }
                ++sounding[{event.channel(), event.data1}];
            } else if (event.isNoteOff()) {
                int& count = sounding[{event.channel(), event.data1}];
                EXPECT_GT(count, 0) << "note-off without a note";
                --count;
            }
        }
        for (const auto& [note, count] : sounding)
            EXPECT_EQ(count, 0) << "key " << note.second << " hangs";
    }
}

INSTANTIATE_TEST_SUITE_P(GameFolder, MusicPiece, ::testing::ValuesIn(pieces),
                         [](const ::testing::TestParamInfo<Piece>& info) {
                             std::string name = info.param.file;
                             return name.substr(0, name.find('.'));
                         });

// The reader above must itself reject what it should, or the checks prove nothing.
TEST(MidiReader, FollowsRunningStatusAndRejectsBrokenChunks) {
    const std::vector<std::uint8_t> header{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0};
    const std::vector<std::uint8_t> body{0x00, 0x99, 36, 100, 0x60, 36,   0,    0x00, 42,
                                         90,   0x60, 42, 0,   0x00, 0xFF, 0x2F, 0x00};
    auto build = [&](std::vector<std::uint8_t> events, int lengthDelta) {
        std::vector<std::uint8_t> file = header;
        std::uint32_t length = static_cast<std::uint32_t>(events.size() + lengthDelta);
        file.insert(file.end(), {'M', 'T', 'r', 'k', 0, 0, static_cast<std::uint8_t>(length >> 8),
                                 static_cast<std::uint8_t>(length)});
        file.insert(file.end(), events.begin(), events.end());
        return file;
    };
    MidiFile file;
    std::string error;
    ASSERT_TRUE(MidiReader(build(body, 0)).read(file, error)) << error;
    ASSERT_EQ(file.tracks.at(0).size(), 5u);
    EXPECT_TRUE(file.tracks[0][2].isNoteOn());
    EXPECT_EQ(file.tracks[0][2].channel(), 10);
    EXPECT_EQ(file.tracks[0][3].tick, 192u);

    std::vector<std::uint8_t> noEnd(body.begin(), body.end() - 3);
    const std::vector<std::vector<std::uint8_t>> broken{
        build(body, 1), build(body, -1), build(noEnd, 0),
        build({0x00, 36, 100, 0x00, 0xFF, 0x2F, 0x00}, 0)};
    for (const auto& bytes : broken) {
        MidiFile rejected;
        EXPECT_FALSE(MidiReader(bytes).read(rejected, error));
    }
}

// --- the compiler, run as the build runs it ----------------------------------

class TuneCompiler : public ::testing::Test {
  protected:
    void SetUp() override {
        builder_ = VELTA_ASSET_BUILDER;
        ASSERT_TRUE(fs::exists(builder_)) << builder_;
        root_ = fs::temp_directory_path() / ("velta_music_test_" + std::to_string(::getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "assets" / "music");
    }
    void TearDown() override {
        if (!root_.empty()) fs::remove_all(root_);
    }

    // Compiles one tune; returns the builder's exit status and its messages.
    int compile(const std::string& source, std::string& output) {
        for (const auto& entry : fs::directory_iterator(root_ / "assets" / "music"))
            fs::remove(entry.path());
        std::ofstream(root_ / "assets" / "music" / "t.tune") << source;
        const asset_test::BuilderRun run = asset_test::runAssetBuilder(
            "music '" + (root_ / "assets").string() + "' '" + (root_ / "game").string() + "'");
        output = run.output;
        return run.status;
    }

    fs::path output() const { return root_ / "game" / "bgm" / "t.mid"; }

    // (tick, key, length) of every note of the file's second track.
    std::vector<std::array<std::uint32_t, 3>> notes() {
        MidiFile midi;
        std::string error;
        EXPECT_TRUE(readMidi(output(), midi, error)) << error;
        std::vector<std::array<std::uint32_t, 3>> found;
        if (midi.tracks.size() < 2) return found;
        std::map<int, std::uint32_t> started;
        for (const MidiEvent& event : midi.tracks[1]) {
            if (event.isNoteOn()) started[event.data1] = event.tick;
            if (event.isNoteOff())
                found.push_back(
                    {started[event.data1], event.data1, event.tick - started[event.data1]});
        }
        std::sort(found.begin(), found.end());
        return found;
    }

    fs::path builder_;
    fs::path root_;
};

std::string tuneWith(const std::string& track, const std::string& extra = "") {
    return "tempo 120\ntime 4/4\nloop no\n" + extra + "track t\n  channel 1\n  " + track + "\n";
}

TEST_F(TuneCompiler, TurnsNotationIntoTheNotesItMeans) {
    using Notes = std::vector<std::array<std::uint32_t, 3>>;
    struct Case {
        const char* what;
        std::string source;
        Notes expected;
    };
    // clang-format off
    const std::vector<Case> cases{
        {"lengths, dots and gate", tuneWith("q100 c4 d8. e16 f2^8"),
         {{0, 60, 480}, {480, 62, 360}, {840, 64, 120}, {960, 65, 1200}}},
        {"octaves and accidentals", tuneWith("q100 o3 b > c+ < b- o9 g"), {{0, 59, 480}, {480, 61, 480}, {960, 58, 480}, {1440, 127, 480}}},
        {"tie through a bar line", tuneWith("q50 c1&|c2 d4"), {{0, 60, 1920 + 480}, {2880, 62, 240}}},
        {"chord tied to one of its notes", tuneWith("q100 {c e g}2&c4"), {{0, 60, 1440}, {0, 64, 960}, {0, 67, 960}}},
        {"repeat with a last-pass exit", tuneWith("q100 l8 [c / d]3"),
         {{0, 60, 240}, {240, 62, 240}, {480, 60, 240}, {720, 62, 240}, {960, 60, 240}}},
        {"phrases carry the state", tuneWith("q100 $p $p", "phrase p\n  l16 c >\n"), {{0, 60, 120}, {120, 72, 120}}},
        {"triplets and transpose", tuneWith("transpose -12\n  q100 c12 d12 e12"), {{0, 48, 160}, {160, 50, 160}, {320, 52, 160}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        std::string log;
        ASSERT_EQ(compile(c.source, log), 0) << c.what << ": " << log;
        EXPECT_EQ(notes(), c.expected) << c.what;
    }
}

TEST_F(TuneCompiler, NamesTheFileAndLineOfEveryMistake) {
    struct Case {
        std::string source;
        std::string message; // expected after "t.tune:"
    };
    const std::vector<Case> cases{
        {tuneWith("c4 d4 e4 |"), "6: bar line comes 3 beats into bar 1"},
        {tuneWith("c7"), "6: length must divide a whole note"},
        {tuneWith("c4 x4"), "6: unknown command 'x'"},
        {tuneWith("c4 & r4"), "6: a tie '&' must lead to a note"},
        {tuneWith("[c4 d4"), "6: repeat '[' is never closed"},
        {tuneWith("$missing"), "6: no phrase named 'missing'"},
        {tuneWith("$p", "phrase p\n  $p\n"), "5: phrase 'p' is nested too deeply"},
        {tuneWith("o9 a"), "6: note is outside the MIDI range"},
        {"tempo 120\nloop yes\ntrack a\n  c1 c4\n", "3: a looping tune must end on a bar line"},
        {"loop yes\ntrack a\n  c1\ntrack b\n  c1 c1\n", "2: track 'a' lasts 1 bars"},
        {"track d\n  channel 10\n  kick4 cymbal4\n", "3: unknown drum 'cymbal'"},
        {"track a\n  c4\n  volume 90\n", "3: 'volume' must come before the track's notes"},
        {"tempo fast\ntrack a\n  c4\n", "1: tempo is quarter notes per minute"},
    };
    for (const Case& c : cases) {
        std::string log;
        EXPECT_NE(compile(c.source, log), 0) << c.source;
        EXPECT_NE(log.find("t.tune:" + c.message), std::string::npos)
            << "expected '" << c.message << "' in: " << log;
        EXPECT_FALSE(fs::exists(output())) << "a tune with errors must write nothing";
    }
}

TEST_F(TuneCompiler, LeavesAnUnchangedFileAloneAndWritesRunningStatus) {
    std::string log;
    ASSERT_EQ(compile(tuneWith("c4 d4 e4 f4"), log), 0) << log;
    auto firstBytes = readBytes(output());
    auto stamp = fs::last_write_time(output());
    fs::last_write_time(output(), stamp - std::chrono::hours(1));
    stamp = fs::last_write_time(output());
    ASSERT_EQ(compile(tuneWith("c4 d4 e4 f4"), log), 0) << log;
    EXPECT_EQ(fs::last_write_time(output()), stamp);
    ASSERT_EQ(compile(tuneWith("c4 d4 e4 g4"), log), 0) << log;
    EXPECT_NE(fs::last_write_time(output()), stamp);

    // Eight note events on one channel need only one status byte.
    MidiFile midi;
    std::string error;
    ASSERT_TRUE(readMidi(output(), midi, error)) << error;
    auto bytes = readBytes(output());
    EXPECT_LT(std::count(bytes.begin(), bytes.end(), std::uint8_t{0x90}), 3);
    EXPECT_NE(firstBytes, bytes);
}

} // namespace
