#include "platform/game_folders.h"
#include "platform/input.h"
#include "platform/platform.h"
#include "platform/virtual_keys.h"
#include "shell/ranking.h"
#include "shell/scene_machine.h"
#include "shell/scenes.h"
#include "shell/stage_list.h"
#include "shell/window_messages.h"
#include "stage/stage_loader.h"
#include "world/player.h"

#include <cstring>

namespace {

std::string commandLineBuffer;

} // namespace

void setCommandLine(const std::string& line) {
    // The buffer holds 255 bytes and its terminator; a longer line is cut.
    commandLineBuffer = line.substr(0, 255);
}

const char* commandLine() {
    return commandLineBuffer.c_str();
}

void bootScene() {
    platform::sleep(1000);
    playerStartupBuild();
    newGameReset();
    input.reset();
    input.enterDefaultButtons();
    if (!input.readSettings(settingsFilePath())) {
        platform::messageBox("入力ﾃﾞﾊﾞｲｽの初期化中にｴﾗｰが発生しました。設定を確認してください。",
                             "致命的なｴﾗｰ", platform::MessageIcon::Error);
        postWindowMessage(WindowMessage::Close);
        return;
    }
    if (input.device() == DEVICE_KEYBOARD)
        loadPadMappings(padMappingFiles(currentGameFolders(), userBaseFoldersFromEnvironment()));
    buildStageList();
    loadRanking();

    playMode = PLAY_NORMAL;
    withoutDyingSwitch = 1;
    testPlayStartX = 0;
    const char* line = commandLine();
    if (line[0] == '\0') {
        playMode = PLAY_NORMAL;
        withoutDyingSwitch = 0;
        sceneNumber = SCENE_LOGO;
        startFadeIn();
    } else if (std::strncmp(line, "/D", 2) == 0) {
        playMode = PLAY_DEBUG;
        withoutDyingSwitch = 0;
        sceneNumber = SCENE_TITLE;
        startFadeIn();
    } else {
        testPlayStart(line);
    }
}
