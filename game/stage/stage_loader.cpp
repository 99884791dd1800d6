#include "stage/stage_loader.h"

#include "platform/music.h"
#include "stage/stage_file.h"
#include "world/map_object.h"
#include "world/object_kinds.h"
#include "world/player.h"
#include "world/world.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr int32_t NO_RIGHT_EDGE = -9999;
constexpr uint32_t SCORE_LIMIT = 999999;

void newGameValues(int32_t startingLives) {
    player.lives = uint8_t(startingLives);
    player.score = 0;
    player.coins = 0;
    player.spanners = 15;
    player.gaugeSize = 4;
    player.damage = 0;
    world.totalScore = 0;
}

// A gauge-up once taken stays away from the same stage's retries.
void buildObjects(const std::vector<StageRecord>& records) {
    for (const StageRecord& record : records) {
        const uint8_t kind = uint8_t(record.kind);
        if (kind == KIND_GAUGE_UP && world.itemTakenFlag) continue;
        // Files keep an object's top-left corner; the world its bottom-left.
        MapObject object = makeMapObject(record.x, double(record.y) + 16);
        assignKind(object, kind);
        world.objects.push_back(object);
    }
}

// An enemy without a usable definition stays in the list, inactive.
void buildEnemies(const std::vector<StageRecord>& records) {
    for (const StageRecord& record : records)
        world.enemies.push_back(makeEnemy(record.x, record.y, uint8_t(record.kind)));
}

std::string withoutLineEnd(std::string line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    return line;
}

void startMusic() {
    const std::string name = withoutLineEnd(world.musicName);
    if (name == "null")
        stopAndFreeMusic();
    else
        loadAndPlayMusic(("\\bgm\\" + name).c_str());
}

// The right edge of the last cell, kept within int range for an object placed
// at the far end of it.
int32_t rightEdgeOfObjects() {
    int64_t edge = NO_RIGHT_EDGE;
    for (const MapObject& object : world.objects)
        edge = std::max(edge, int64_t(object.x) + 16);
    return int32_t(std::min<int64_t>(edge, INT32_MAX));
}

// Adds to the total score, which stays within 0..999999. A negative clear
// bonus larger than the total leaves 0 rather than wrapping round.
void addToTotal(int64_t points) {
    const int64_t total = int64_t(world.totalScore) + points;
    world.totalScore = uint32_t(std::clamp<int64_t>(total, 0, SCORE_LIMIT));
}

// "^" marks line breaks; the second byte of a double-byte character is
// never one.
std::string endingTextOf(const std::string& message) {
    std::string text = message;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c > 0x80)
            ++i;
        else if (c == '^')
            text[i] = '\n';
    }
    return text;
}

} // namespace

void newGameReset() {
    world.cameraX = 0;
    world.newGameFlag = 1;
    world.itemTakenFlag = 0;
    // Lives lost belong to the game that lost them: a new game starting on
    // the stage where the last one ended would otherwise inherit them.
    world.retryCount = 0;
    world.worldNumber = 0;
    world.stageNumber = 0;
    world.fileName.clear();
}

int currentStageIndex() {
    return world.worldNumber * 4 + world.stageNumber;
}

bool loadStage(const std::string& fileName, int index) {
    resetWorld();
    const int wanted = index & 0xFF;
    if (wanted != currentStageIndex()) {
        world.retryCount = 0;
        world.itemTakenFlag = 0;
    }
    world.worldNumber = wanted / 4;
    world.stageNumber = wanted % 4;
    world.fileName = fileName;

    const StageRead stage = readStageFile(fileName, wanted);
    if (!stage.opened) return false;
    world.clearMessage = stage.clearMessage;
    if (world.newGameFlag) newGameValues(stage.startingLives);
    world.newGameFlag = 0;
    world.musicName = stage.musicName;
    world.background = uint8_t(stage.background);
    buildObjects(stage.objects);
    buildEnemies(stage.enemies);
    // A block cut short by the end of the file is played with what it held.
    if (!stage.met) return false;
    startMusic();
    world.stageRightEdge = rightEdgeOfObjects();
    return true;
}

StageClear stageClear() {
    if (world.fileName.empty()) return StageClear::NoFile;
    const int64_t bonus = int64_t(999.0 - world.elapsedTime) + 50 * int64_t(player.gaugeSize) -
                          25 * int64_t(world.retryCount);
    addToTotal(bonus);
    if (loadStage(world.fileName, currentStageIndex() + 1)) return StageClear::NextStage;
    addToTotal(player.score / 4);
    world.endingText = endingTextOf(world.clearMessage);
    world.finalScore = world.totalScore;
    return StageClear::LastStage;
}

bool stageRetry() {
    if (world.fileName.empty()) return false;
    return loadStage(world.fileName, currentStageIndex());
}
