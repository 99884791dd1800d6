#include "platform/sdl/midi_renderer.h"

#include <fluidsynth.h>

#include <algorithm>

namespace {

// The synthesizer's own block: the player advances once per block, so a
// slice gives it one chance to reach the end of a pass.
constexpr int SLICE_FRAMES = 64;
constexpr int ONE_MORE_PASS = 1;

} // namespace

struct MidiRenderer::State {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_player_t* player = nullptr;
    bool paused = false;
};

MidiRenderer::MidiRenderer() : state_(std::make_unique<State>()) {}

MidiRenderer::~MidiRenderer() {
    close();
}

bool MidiRenderer::open(int sampleRate, double gain) {
    if (isOpen()) return true;
    fluid_settings_t* settings = new_fluid_settings();
    if (settings == nullptr) return false;
    fluid_settings_setnum(settings, "synth.sample-rate", sampleRate);
    fluid_settings_setnum(settings, "synth.gain", gain);
    // The player is driven by the samples we render, so it stops when we do.
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid_synth_t* synth = new_fluid_synth(settings);
    if (synth == nullptr) {
        delete_fluid_settings(settings);
        return false;
    }
    state_->settings = settings;
    state_->synth = synth;
    state_->paused = false;
    return true;
}

bool MidiRenderer::loadSoundfont(const std::string& path) {
    return isOpen() && fluid_synth_sfload(state_->synth, path.c_str(), 1) != FLUID_FAILED;
}

void MidiRenderer::close() {
    stop();
    if (state_->synth != nullptr) delete_fluid_synth(state_->synth);
    if (state_->settings != nullptr) delete_fluid_settings(state_->settings);
    state_->synth = nullptr;
    state_->settings = nullptr;
}

bool MidiRenderer::isOpen() const {
    return state_->synth != nullptr;
}

bool MidiRenderer::start(const std::vector<uint8_t>& piece, bool fresh) {
    if (!isOpen()) return false;
    stop();
    if (fresh) fluid_synth_system_reset(state_->synth);
    fluid_player_t* player = new_fluid_player(state_->synth);
    if (player == nullptr) return false;
    if (fluid_player_add_mem(player, piece.data(), piece.size()) != FLUID_OK) {
        delete_fluid_player(player);
        return false;
    }
    fluid_player_set_loop(player, ONE_MORE_PASS);
    fluid_player_play(player);
    state_->player = player;
    return true;
}

void MidiRenderer::stop() {
    if (state_->player != nullptr) {
        fluid_player_stop(state_->player);
        delete_fluid_player(state_->player);
        state_->player = nullptr;
    }
    if (state_->synth != nullptr) fluid_synth_all_sounds_off(state_->synth, -1);
    state_->paused = false;
}

bool MidiRenderer::hasPiece() const {
    return state_->player != nullptr;
}

void MidiRenderer::setPaused(bool paused) {
    state_->paused = paused && hasPiece();
}

void MidiRenderer::allowAnotherPass() {
    // A player that ended (a piece of no length, or one it could not read)
    // stays ended: it is never started again.
    if (fluid_player_get_status(state_->player) == FLUID_PLAYER_PLAYING)
        fluid_player_set_loop(state_->player, ONE_MORE_PASS);
}

template <typename Write> void MidiRenderer::renderSlices(int count, Write write) {
    for (int done = 0; done < count;) {
        const int slice = std::min(SLICE_FRAMES, count - done);
        write(done, slice);
        done += slice;
        if (state_->player != nullptr) allowAnotherPass();
    }
}

void MidiRenderer::renderStereo(int16_t* frames, int count) {
    if (!isOpen() || !hasPiece() || state_->paused || count <= 0) return;
    renderSlices(count, [&](int offset, int slice) {
        int16_t* out = frames + ptrdiff_t(offset) * 2;
        fluid_synth_write_s16(state_->synth, slice, out, 0, 2, out, 1, 2);
    });
}

void MidiRenderer::renderFloat(float* left, float* right, int count) {
    if (!isOpen() || !hasPiece() || state_->paused || count <= 0) return;
    renderSlices(count, [&](int offset, int slice) {
        fluid_synth_write_float(state_->synth, slice, left + offset, 0, 1, right + offset, 0, 1);
    });
}
