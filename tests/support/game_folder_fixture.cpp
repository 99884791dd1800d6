#include "support/game_folder_fixture.h"

#include "platform/display.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "platform/music.h"
#include "platform/palette.h"
#include "platform/sheets.h"
#include "platform/sound.h"

GameFolderFixture::GameFolderFixture(const std::string& name) {
    // Each run starts as a fresh program: whatever an earlier run in this test
    // program left open is closed first.
    closeSound();
    closeMusic();
    releaseVideo();
    headless::resetAll();
    headless::resetAudio();
    folder_ = makeTempFolder(name);
    headless::setExecutablePath((folder_ / "velta").string());
    writeIndexedBmp(folder_ / "pal.bmp", 4, 4, testPalette(), std::vector<uint8_t>(16, 1));
    here_ = std::make_unique<CurrentFolder>(folder_);
}

void GameFolderFixture::writeConfig(const std::string& text) {
    writeTextFile(folder_ / "config.ini", text);
}

void GameFolderFixture::useGameData() {
    namespace fs = std::filesystem;
    const fs::path dist = VELTA_DIST_DIR;
    const auto options = fs::copy_options::overwrite_existing | fs::copy_options::recursive;
    for (const auto& entry : fs::directory_iterator(dist))
        if (entry.path().extension() == ".bmp") fs::copy(entry.path(), folder_, options);
    for (const char* data : {"se", "bgm", "dat"})
        fs::copy(dist / data, folder_ / data, options);
}
