// A MIDI tune as the music library takes it (loaded and played through the
// library on the headless backend), then, when the library took it as a
// piece, rendered for a few seconds by the game's synthesizer as the sound
// device's audio thread renders it, looping included.
#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "platform/music.h"
#include "platform/paths.h"
#include "platform/sdl/midi_renderer.h"
#include "support/game_session.h"
#include "support/scratch_folder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

constexpr size_t LARGEST_INPUT = 64 * 1024;
constexpr int RATE = 44100;
constexpr int CHUNK_FRAMES = 1024; // the device's buffer
constexpr int RENDERED_SECONDS = 3;
constexpr double GAIN = 0.6;

const char* const SOUNDFONTS[] = {
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
};

// One synthesizer for the process, its soundfont loaded once as the game does.
MidiRenderer& renderer() {
    static MidiRenderer made;
    if (!made.isOpen()) {
        if (!made.open(RATE, GAIN)) std::abort();
        const char* given = std::getenv("SDL_SOUNDFONTS");
        if (given == nullptr || !made.loadSoundfont(given))
            for (const char* path : SOUNDFONTS)
                if (std::filesystem::exists(path) && made.loadSoundfont(path)) break;
    }
    return made;
}

void render(const uint8_t* data, size_t size) {
    MidiRenderer& synth = renderer();
    if (!synth.start(std::vector<uint8_t>(data, data + size), true)) return;
    std::vector<int16_t> out(size_t(CHUNK_FRAMES) * 2);
    for (int rendered = 0; rendered < RATE * RENDERED_SECONDS; rendered += CHUNK_FRAMES)
        synth.renderStereo(out.data(), CHUNK_FRAMES);
    synth.stop();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > LARGEST_INPUT) return 0;
    fuzz::useScratchGameFolderForData();
    fuzz::writeBytes(fuzz::scratchGameFolder() / "bgm" / "fuzz.mid", data, size);
    headless::resetAll();
    openMusic();
    loadAndPlayMusic("\\bgm\\fuzz.mid");
    // Only what the library took as a piece reaches the synthesizer.
    const bool playing = headless::musicRecord().state == headless::MidiState::Playing;
    pauseMusic();
    resumeMusic();
    stopAndFreeMusic();
    closeMusic();
    if (playing && size > 0) render(data, size);
    return 0;
}
