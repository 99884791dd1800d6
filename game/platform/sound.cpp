#include "platform/sound.h"

#include "platform/audio_backend.h"
#include "platform/loaders/wave_loader.h"
#include "platform/paths.h"

#include <array>
#include <string>

namespace {

constexpr int MAX_COPIES = 10;

struct EffectSlot {
    bool loaded = false;
    int copies = 0;
    int buffers[MAX_COPIES] = {};
    int nextCopy = 0;
    bool paused[MAX_COPIES] = {};
};

bool deviceOpen = false;
EffectSlot slots[EFFECT_SLOTS];

// "se\\<name>.wav", as the game names its effect files.
const std::string& effectFileName(int effect) {
    static const auto names = [] {
        std::array<std::string, SE_COUNT> files;
        for (int e = 0; e < SE_COUNT; ++e)
            files[size_t(e)] = std::string("se\\") + SOUND_EFFECT_NAMES[e] + ".wav";
        return files;
    }();
    return names[size_t(effect)];
}

void releaseSlot(EffectSlot& slot) {
    for (int copy = 0; copy < slot.copies; ++copy) {
        platform::stopEffectBuffer(slot.buffers[copy]);
        platform::releaseEffectBuffer(slot.buffers[copy]);
    }
    slot = EffectSlot{};
}

// Effect numbers come from game code and copy numbers from callers; anything
// outside the loaded table is silently nothing rather than a stray index.
EffectSlot* loadedSlot(int effect) {
    if (!deviceOpen || effect < 0 || effect >= EFFECT_SLOTS || !slots[effect].loaded) {
        return nullptr;
    }
    return &slots[effect];
}

bool validCopy(const EffectSlot& slot, int copy) {
    return copy >= 0 && copy < slot.copies;
}

bool loadEffectInto(int slotNumber, const char* fileName, int copies) {
    if (fileName == nullptr || copies < 1 || copies > MAX_COPIES) return false;
    PcmSound sound;
    if (!loadWave(resolvePath(gameFolder() + fileName), sound)) return false;

    EffectSlot slot;
    for (int copy = 0; copy < copies; ++copy) {
        int buffer = platform::createEffectBuffer(sound);
        if (buffer < 0) {
            releaseSlot(slot);
            return false;
        }
        slot.buffers[copy] = buffer;
        slot.copies = copy + 1;
    }
    slot.loaded = true;
    slots[slotNumber] = slot;
    return true;
}

} // namespace

int openSound() {
    if (deviceOpen) return 1;
    if (!platform::openAudio()) return 0;
    for (EffectSlot& slot : slots)
        slot = EffectSlot{};
    deviceOpen = true;
    return 1;
}

void closeSound() {
    if (!deviceOpen) return;
    for (EffectSlot& slot : slots) {
        if (slot.loaded) releaseSlot(slot);
    }
    platform::closeAudio();
    deviceOpen = false;
}

bool soundOpen() {
    return deviceOpen;
}

int loadEffect(const char* fileName, int copies) {
    if (!deviceOpen) return 0;
    for (int slot = 0; slot < EFFECT_SLOTS; ++slot) {
        if (!slots[slot].loaded) return loadEffectInto(slot, fileName, copies) ? slot : 0;
    }
    return 0;
}

// Each game effect goes to the slot of its own number. A file that fails
// leaves its slot empty and silent instead of shifting every later effect
// down by one, which would make the game play the wrong sounds.
void loadGameEffects() {
    if (!deviceOpen) return;
    for (int effect = 0; effect < SE_COUNT; ++effect) {
        if (!slots[effect].loaded) loadEffectInto(effect, effectFileName(effect).c_str(), 1);
    }
}

const char* gameEffectFile(int effect) {
    if (effect < 0 || effect >= SE_COUNT) return nullptr;
    return effectFileName(effect).c_str();
}

void playEffect(int effect, int copy) {
    EffectSlot* slot = loadedSlot(effect);
    if (slot == nullptr) return;
    if (copy == -1) {
        copy = slot->nextCopy;
        slot->nextCopy = (slot->nextCopy + 1) % slot->copies;
    }
    if (!validCopy(*slot, copy)) return;
    platform::playEffectBuffer(slot->buffers[copy]);
}

int effectStatus(int effect, int copy) {
    EffectSlot* slot = loadedSlot(effect);
    if (slot == nullptr) return 0;
    if (copy == -1) copy = slot->nextCopy;
    if (!validCopy(*slot, copy)) return 0;
    return platform::effectBufferPlaying(slot->buffers[copy]) ? EFFECT_PLAYING : 0;
}

void stopEffect(int effect, int copy) {
    EffectSlot* slot = loadedSlot(effect);
    if (slot == nullptr) return;
    if (copy == -1) {
        for (int c = 0; c < slot->copies; ++c)
            platform::stopEffectBuffer(slot->buffers[c]);
    } else if (validCopy(*slot, copy)) {
        platform::stopEffectBuffer(slot->buffers[copy]);
    }
}

void pauseAllEffects() {
    if (!deviceOpen) return;
    for (EffectSlot& slot : slots) {
        if (!slot.loaded) continue;
        for (int copy = 0; copy < slot.copies; ++copy) {
            bool playing = platform::effectBufferPlaying(slot.buffers[copy]);
            slot.paused[copy] = playing;
            if (playing) platform::holdEffectBuffer(slot.buffers[copy]);
        }
    }
}

void resumeAllEffects() {
    if (!deviceOpen) return;
    for (EffectSlot& slot : slots) {
        if (!slot.loaded) continue;
        for (int copy = 0; copy < slot.copies; ++copy) {
            // Cleared once used, so a second resume cannot replay a copy that
            // has since finished.
            if (slot.paused[copy]) platform::continueEffectBuffer(slot.buffers[copy]);
            slot.paused[copy] = false;
        }
    }
}
