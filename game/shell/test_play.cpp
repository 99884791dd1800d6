#include "shell/scene_machine.h"

#include "platform/decimal.h"
#include "shell/scenes.h"
#include "stage/stage_loader.h"
#include "world/player.h"

#include <cstring>

namespace {

// A number read from a fixed field alone: leading blanks and a sign are
// taken, the first other character ends it, no digits read as 0. Characters
// past the end of a short command line count as absent.
int readField(const char* line, size_t length, size_t from, size_t count) {
    if (from >= length) return 0;
    return readDecimal(std::string_view(line + from, std::min(count, length - from))).value;
}

} // namespace

TestPlayCommand parseTestPlayCommand(const char* line) {
    const size_t length = std::strlen(line);
    TestPlayCommand command;
    command.stageIndex = readField(line, length, 0, 2);
    command.startX = readField(line, length, 3, 8);
    if (length > 12) command.fileName = line + 12;
    return command;
}

void testPlayStart(const char* line) {
    const TestPlayCommand command = parseTestPlayCommand(line);
    playMode = PLAY_TEST;
    withoutDyingSwitch = 1;
    testPlayStartX = command.startX;
    sceneNumber = SCENE_GAMEPLAY;
    loadStage(command.fileName, command.stageIndex);
    player.x = command.startX;
    player.y = 48.0;
}
