// velta-long-run: one long session of the main game on the headless backend,
// in one process, as a player who never closes the game would have it: the
// logo and the title, a new game, every life lost on purpose, the game over
// and the continue, every stage played by its replay, the ending, the staff
// roll, the ranking, back to the title, and again, until enough frames have
// run. The resident memory and the heap in use are sampled as it goes and at
// the title after every round; they must stay flat once the first round has
// warmed everything up.
//
//     velta-long-run [--frames N] [--sample-every N]
//                    [--max-heap-growth KIB] [--max-resident-growth KIB]
//
// Exits 0 when every round played as it should and memory stayed within the
// bounds, 1 otherwise.
#include "core/fades.h"
#include "core/random.h"
#include "platform/headless/headless.h"
#include "platform/input.h"
#include "platform/platform.h"
#include "platform/sound.h"
#include "platform/sound_effects.h"
#include "platform/virtual_keys.h"
#include "replay/replay_runner.h"
#include "replay/replay_script.h"
#include "shell/scene_machine.h"
#include "shell/scenes.h"
#include "shell/startup.h"
#include "stage/stage_loader.h"
#include "support/fixture_files.h"
#include "support/game_folder_fixture.h"
#include "world/player.h"
#include "world/world.h"

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's own count (GCC ships no header that declares it).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

namespace fs = std::filesystem;

const fs::path SHIPPED_STAGES = fs::path(VELTA_DIST_DIR) / "stage";
const fs::path MAIN_REPLAYS = fs::path(VELTA_SOURCE_DIR) / "tests" / "replay" / "stages" / "def";

struct Options {
    long frames = 100000;
    long sampleEvery = 10000;
    long maxHeapGrowthKiB = 64;
    long maxResidentGrowthKiB = 2048;
};

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void require(bool condition, const std::string& what) {
    if (!condition) throw Failure(what);
}

// ---- Memory ----

struct MemorySample {
    long frame = 0;
    long residentKiB = 0;
    long heapKiB = 0;
    bool atTitle = false; // taken at the title after a round
};

long residentKiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The bytes the program holds allocated; with AddressSanitizer its own count,
// which leaves out what it keeps in quarantine after a free.
long heapKiB() {
#if defined(__SANITIZE_ADDRESS__)
    return long(__sanitizer_get_current_allocated_bytes() / 1024);
#else
    return long(mallinfo2().uordblks / 1024);
#endif
}

// ---- Frames ----

class Session {
  public:
    explicit Session(const Options& options) : options_(options) {}

    // One frame pass; the memory is sampled every sampleEvery frames.
    void pass() {
        require(framePass(), "the game quit by itself at frame " + std::to_string(frames_));
        ++frames_;
        if (frames_ % options_.sampleEvery == 0) sample(false);
    }

    void passes(int count) {
        for (int i = 0; i < count; ++i)
            pass();
    }

    template <typename Done> void passUntil(Done done, int limit, const std::string& what) {
        for (int i = 0; i < limit && !done(); ++i)
            pass();
        require(done(), what + " (not within " + std::to_string(limit) + " frames)");
    }

    // Holds a key for one pass, then lets it go long enough for the next tap
    // to read as a press again.
    void tap(int virtualKey) {
        headless::setKey(virtualKey, true);
        pass();
        headless::setKey(virtualKey, false);
        passes(3);
    }

    // A sample at the title after a round: every round leaves the game in the
    // same state there, so these compare like with like.
    void sampleAtTitle() { sample(true); }

    long frames() const { return frames_; }
    const std::vector<MemorySample>& samples() const { return samples_; }

  private:
    void sample(bool atTitle) {
        const MemorySample s{frames_, residentKiB(), heapKiB(), atTitle};
        samples_.push_back(s);
        std::printf("frame %7ld: resident %7ld KiB, heap in use %7ld KiB%s\n", s.frame,
                    s.residentKiB, s.heapKiB, atTitle ? " (at the title)" : "");
    }

    Options options_;
    long frames_ = 0;
    std::vector<MemorySample> samples_;
};

// ---- One round ----

bool titleSettled() {
    return sceneNumber == SCENE_TITLE && fadeState == FADE_NONE;
}

// A replay meets its stage as it was recorded when the random source starts
// from the state the game seeds at start-up (swinging and circling objects
// take their starting angles from it).
void seedAsRecorded() {
    seedRandom(platform::calendarSeconds());
}

void moveTitleCursorTo(Session& session, int item) {
    for (int tries = 0; titleCursor() != item && tries < 8; ++tries)
        session.tap(titleCursor() > item ? VK_UP : VK_DOWN);
    require(titleCursor() == item, "the title cursor does not reach item " + std::to_string(item));
}

std::vector<ReplayScript> mainGameReplays() {
    std::vector<ReplayScript> replays;
    for (int index = 0;; ++index) {
        char name[16];
        std::snprintf(name, sizeof name, "%02d.txt", index);
        const fs::path file = MAIN_REPLAYS / name;
        if (!fs::exists(file)) break;
        ReplayScript script;
        std::string error;
        require(parseReplayScript(readTextFile(file), script, error), file.string() + ": " + error);
        replays.push_back(script);
    }
    require(replays.size() >= 16,
            "the main game's replays are missing in " + MAIN_REPLAYS.string());
    return replays;
}

// Runs right into the first stage's hazards until every life is gone. A
// life lost restarts the stage; the last one leads to the game over.
void loseEveryLife(Session& session) {
    const int lives = player.lives;
    for (int life = 0; life <= lives; ++life) {
        session.passUntil([] { return world.entryFlag == 0 && fadeState == FADE_NONE; }, 600,
                          "the player does not enter the stage");
        holdButtons(1 << BUTTON_RIGHT);
        session.passUntil([] { return world.dyingFlag != 0; }, 3000,
                          "running right does not lose a life");
        holdButtons(0);
        session.passUntil([] { return world.dyingFlag == 0; }, 1200, "the lost life does not end");
    }
    require(sceneNumber == SCENE_GAME_OVER, "no game over after every life was lost");
}

void continueAfterGameOver(Session& session) {
    require(gameOverCursor() == 0, "the game over menu does not start on CONTINUE");
    // The menu appears once the game-over tune has ended. One tap only: a key
    // still down when the stage starts would be the replay's input too.
    session.passUntil([] { return effectStatus(SE_GMOV) != EFFECT_PLAYING && !fadeRunning(); },
                      1200, "the game over menu does not appear");
    seedAsRecorded();
    session.tap(VK_Z);
    session.passUntil([] { return sceneNumber == SCENE_GAMEPLAY; }, 600, "CONTINUE does not play");
    require(currentStageIndex() == 0, "the continue does not start world 1 again");
}

void playEveryStage(Session& session, const std::vector<ReplayScript>& replays) {
    for (size_t index = 0; index < replays.size(); ++index) {
        require(sceneNumber == SCENE_GAMEPLAY && currentStageIndex() == int(index),
                "stage " + std::to_string(index) + " is not being played");
        const ReplayScript& script = replays[index];
        const int lives = player.lives;
        // The stage's first pass is its replay's frame 0.
        for (int frame = 0; frame <= script.lastFrame() + 600 && !world.clearedFlag; ++frame) {
            holdButtons(script.buttonsAt(frame));
            session.pass();
        }
        holdButtons(0);
        require(world.clearedFlag != 0,
                "the replay of stage " + std::to_string(index) + " does not reach the goal");
        require(player.lives >= lives, "a life was lost in stage " + std::to_string(index));
        seedAsRecorded();
        // The clear sequence ends with the next stage loaded or the ending.
        session.passUntil([] { return !world.clearedFlag || sceneNumber == SCENE_ENDING; }, 3000,
                          "the clear sequence does not end");
    }
    require(sceneNumber == SCENE_ENDING && world.mainGameFlag, "the main game does not end");
}

void watchEndingAndStaffRoll(Session& session) {
    // The ending can be left once every line is shown and the fanfare is over.
    session.passUntil(
        [] { return endingRevealStep() == 7 && effectStatus(SE_ALLCLEAR) != EFFECT_PLAYING; }, 1200,
        "the ending does not finish");
    session.tap(VK_Z);
    session.passUntil([] { return sceneNumber == SCENE_STAFF_ROLL; }, 600,
                      "the ending does not lead to the staff roll");
    // The roll runs to its end by itself: past the last of its 83 lines.
    double furthest = 0;
    for (int i = 0; i < 10000 && sceneNumber == SCENE_STAFF_ROLL; ++i) {
        furthest = std::max(furthest, staffRollOffset());
        session.pass();
    }
    require(furthest > 82 * 9 + 256 + 64, "the staff roll ends before its last line");
    session.passUntil(titleSettled, 600, "the staff roll does not lead back to the title");
}

void lookAtRanking(Session& session, uint32_t score) {
    moveTitleCursorTo(session, 2);
    session.tap(VK_Z);
    session.passUntil([] { return sceneNumber == SCENE_RANKING && fadeState == FADE_NONE; }, 600,
                      "RANKING does not show the ranking");
    session.passes(120);
    session.tap(VK_Z);
    session.passUntil(titleSettled, 600, "the ranking does not lead back to the title");
    const std::string config = readTextFile("config.ini");
    require(config.find(std::to_string(score)) != std::string::npos,
            "the score " + std::to_string(score) + " is not in the ranking");
}

void playRound(Session& session, const std::vector<ReplayScript>& replays) {
    moveTitleCursorTo(session, 0);
    session.tap(VK_Z); // GAME START
    session.passUntil([] { return sceneNumber == SCENE_GAMEPLAY; }, 600,
                      "GAME START does not play");
    loseEveryLife(session);
    continueAfterGameOver(session);
    playEveryStage(session, replays);
    const uint32_t score = world.finalScore;
    watchEndingAndStaffRoll(session);
    lookAtRanking(session, score);
}

// Escape on the title and OK: the game closes down as it does for a user.
void quitFromTitle(Session& session) {
    headless::pushEvent({platform::EventType::KeyDown, VK_ESCAPE});
    session.passUntil([] { return sceneNumber == SCENE_CONFIRMATION; }, 60,
                      "Escape does not open the dialog");
    headless::setKey(VK_Z, true);
    for (int i = 0; i < 600; ++i)
        if (!framePass()) return;
    throw Failure("OK in the dialog over the title does not close the game");
}

// ---- Judging the memory ----

// Everything after the first round is measured against the first sample at
// the title: the resident size at every sample, the heap at the title.
bool memoryStayedFlat(const std::vector<MemorySample>& samples, const Options& options) {
    const auto base = std::find_if(samples.begin(), samples.end(),
                                   [](const MemorySample& s) { return s.atTitle; });
    if (base == samples.end() || base + 1 == samples.end()) {
        std::printf("too few samples after the first round to judge the memory\n");
        return false;
    }
    long residentGrowth = 0, heapGrowth = 0;
    for (auto s = base + 1; s != samples.end(); ++s) {
        residentGrowth = std::max(residentGrowth, s->residentKiB - base->residentKiB);
        if (s->atTitle) heapGrowth = std::max(heapGrowth, s->heapKiB - base->heapKiB);
    }
    std::printf("after the first round (frame %ld): the resident size grew by at most %ld KiB "
                "(bound %ld), the heap in use at the title by at most %ld KiB (bound %ld)\n",
                base->frame, residentGrowth, options.maxResidentGrowthKiB, heapGrowth,
                options.maxHeapGrowthKiB);
    return residentGrowth <= options.maxResidentGrowthKiB && heapGrowth <= options.maxHeapGrowthKiB;
}

long numberArgument(int argc, char** argv, int& i) {
    if (i + 1 >= argc) throw Failure(std::string(argv[i]) + " needs a number");
    char* end = nullptr;
    const long value = std::strtol(argv[++i], &end, 10);
    if (!end || *end != '\0' || value <= 0) throw Failure(std::string("not a number: ") + argv[i]);
    return value;
}

Options readOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--frames")
            options.frames = numberArgument(argc, argv, i);
        else if (name == "--sample-every")
            options.sampleEvery = numberArgument(argc, argv, i);
        else if (name == "--max-heap-growth")
            options.maxHeapGrowthKiB = numberArgument(argc, argv, i);
        else if (name == "--max-resident-growth")
            options.maxResidentGrowthKiB = numberArgument(argc, argv, i);
        else
            throw Failure("unknown argument " + name);
    }
    return options;
}

// The game's data and the shipped stage files in a folder of the run's own:
// a cleared main game writes the ranking beside them.
void copyShippedStages(const fs::path& folder) {
    fs::create_directories(folder / "stage");
    for (const auto& entry : fs::directory_iterator(SHIPPED_STAGES))
        if (entry.path().extension() == ".vtg" && entry.path().filename() != "__ed.vtg")
            fs::copy_file(entry.path(), folder / "stage" / entry.path().filename());
}

int run(const Options& options) {
    const std::vector<ReplayScript> replays = mainGameReplays();
    GameFolderFixture game("long-run");
    game.useGameData();
    copyShippedStages(game.folder());
    // The frames are only counted: what is measured is the game, not copies
    // of its pictures.
    headless::setFrameRecording(false);
    require(startUp(""), "the game does not start");

    Session session(options);
    session.passUntil(titleSettled, 5000, "the logo does not lead to the title");
    int rounds = 0;
    while (session.frames() < options.frames) {
        playRound(session, replays);
        ++rounds;
        std::printf("round %d done at frame %ld: final score %u\n", rounds, session.frames(),
                    unsigned(world.finalScore));
        session.sampleAtTitle();
    }
    quitFromTitle(session);
    std::printf("%d rounds, %ld frames\n", rounds, session.frames());
    return memoryStayedFlat(session.samples(), options) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    // Line by line: LeakSanitizer ends the program without flushing.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    try {
        const Options options = readOptions(argc, argv);
        headless::resetAll();
        return run(options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "velta-long-run: %s\n", error.what());
        std::fprintf(stderr, "  scene %d, stage index %d, player at x %.1f y %.1f, %d lives\n",
                     sceneNumber, currentStageIndex(), player.x, player.y, int(player.lives));
        return 1;
    }
}
