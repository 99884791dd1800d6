// A WAVE effect as the wave loader reads it (chunks checked by us, samples
// decoded by SDL), then loaded into the sound table and played as the game
// loads and plays its effects.
#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "platform/loaders/wave_loader.h"
#include "platform/paths.h"
#include "platform/sound.h"
#include "support/game_session.h"
#include "support/scratch_folder.h"

#include <cstddef>
#include <cstdint>

namespace {

constexpr size_t LARGEST_INPUT = 256 * 1024;
constexpr int COPIES = 2;
constexpr uint32_t LISTENED_MS = 100;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > LARGEST_INPUT) return 0;
    WaveFile wave;
    PcmSound sound;
    if (parseWave(data, size, wave) && decodeWave(wave, sound)) sound.durationMs();

    fuzz::useScratchGameFolderForData();
    fuzz::writeBytes(fuzz::scratchGameFolder() / "se" / "fuzz.wav", data, size);
    headless::resetAll();
    if (openSound()) {
        if (const int slot = loadEffect("se\\fuzz.wav", COPIES)) {
            playEffect(slot);
            headless::advanceClock(LISTENED_MS);
            effectStatus(slot);
            pauseAllEffects();
            resumeAllEffects();
            stopEffect(slot);
        }
    }
    closeSound();
    return 0;
}
