#include "midi_preview.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <fluidsynth.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>

namespace {

constexpr int MCI_OK = 0;
constexpr int MCI_UNKNOWN_COMMAND = 261;
constexpr int MCI_BAD_ALIAS = 263;
constexpr int MCI_CANNOT_OPEN = 275;

// A tune is a few kilobytes; a file far beyond that is not one.
constexpr qint64 MAX_MIDI_FILE_BYTES = 8 * 1024 * 1024;

// Reading a standard MIDI file as FluidSynth's player does, only stricter:
// whatever the player might fail on, or read differently, is refused.
class MidiReader {
  public:
    explicit MidiReader(const QByteArray& bytes) : bytes_(bytes) {}

    bool loopsSafely() {
        if (bytes_.size() < 14 || !bytes_.startsWith("MThd") || number(4, 4) != 6) return false;
        const uint32_t format = number(8, 2), tracks = number(10, 2), division = number(12, 2);
        // The player misreads a track count above 255 and cannot play SMPTE time.
        if (format > 2 || tracks == 0 || tracks > 255 || (division & 0x8000) || division == 0)
            return false;
        qsizetype at = 14;
        uint64_t longest = 0;
        for (uint32_t found = 0; found < tracks;) {
            if (bytes_.size() - at < 8) return false;
            const QByteArray name = bytes_.mid(at, 4);
            const uint32_t length = number(at + 4, 4);
            at += 8;
            if (length > uint64_t(bytes_.size() - at)) return false;
            if (name == "MTrk") {
                const std::optional<uint64_t> ticks = trackTicks(at, at + qsizetype(length));
                if (!ticks) return false;
                longest = std::max(longest, *ticks);
                ++found;
            } else if (!std::all_of(name.begin(), name.end(),
                                    [](char c) { return c >= 0x20 && c < 0x7F; })) {
                return false;
            }
            at += qsizetype(length);
        }
        return longest > 0;
    }

  private:
    uint32_t number(qsizetype at, int count) const {
        uint32_t value = 0;
        for (int i = 0; i < count; ++i)
            value = (value << 8) | uint8_t(bytes_[at + i]);
        return value;
    }

    // The tick of the track's last event the player keeps in time (a channel
    // message, a tempo, the end of the track); nothing when an event does not
    // read in full within the track.
    std::optional<uint64_t> trackTicks(qsizetype at, qsizetype end) const {
        uint64_t tick = 0, lastTimed = 0;
        uint8_t running = 0;
        auto variable = [&](uint32_t& value) {
            value = 0;
            for (int i = 0; i < 4 && at < end; ++i) {
                const uint8_t byte = uint8_t(bytes_[at++]);
                value = (value << 7) | (byte & 0x7F);
                if (!(byte & 0x80)) return true;
            }
            return false;
        };
        while (at < end) {
            uint32_t delta = 0, length = 0;
            if (!variable(delta) || at >= end) return std::nullopt;
            tick += delta;
            uint8_t status = uint8_t(bytes_[at++]);
            if (status < 0x80) { // running status: the byte is the first data byte
                if (running == 0) return std::nullopt;
                status = running;
                --at;
            }
            if (status == 0xFF) {
                running = 0;
                if (at >= end) return std::nullopt;
                const uint8_t type = uint8_t(bytes_[at++]);
                if (!variable(length) || length > uint64_t(end - at)) return std::nullopt;
                // The lengths the player insists on: end of track, tempo, SMPTE
                // offset, time and key signature.
                const int required = type == 0x2F   ? 0
                                     : type == 0x51 ? 3
                                     : type == 0x54 ? 5
                                     : type == 0x58 ? 4
                                     : type == 0x59 ? 2
                                                    : -1;
                if (required >= 0 && length != uint32_t(required)) return std::nullopt;
                if (type == 0x51 && number(at, 3) == 0) return std::nullopt;
                at += qsizetype(length);
                if (type == 0x51 || type == 0x2F) lastTimed = tick;
                if (type == 0x2F) break;
            } else if (status == 0xF0) {
                running = 0;
                if (!variable(length) || length > uint64_t(end - at)) return std::nullopt;
                at += qsizetype(length);
            } else if (status > 0xF0) {
                return std::nullopt;
            } else {
                const qsizetype data = ((status & 0xE0) == 0xC0) ? 1 : 2; // program, pressure
                if (data > end - at) return std::nullopt;
                at += data;
                running = status;
                lastTimed = tick;
            }
        }
        return lastTimed;
    }

    const QByteArray& bytes_;
};

// The soundfont, as the game finds it.
QString soundfont() {
    if (const char* set = std::getenv("SDL_SOUNDFONTS"); set && QFileInfo::exists(set)) return set;
    for (const char* path :
         {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2",
          "/usr/share/sounds/sf2/FluidR3_GM.sf2"})
        if (QFileInfo::exists(path)) return path;
    return {};
}

class FluidSynthPlayer : public MidiPlayer {
  public:
    explicit FluidSynthPlayer(const QString& soundFile) : soundFile_(soundFile) {}
    ~FluidSynthPlayer() override { close(); }

    bool open(const QString& path) override {
        close();
        if (!QFileInfo(path).isFile()) return false;
        // The player is given the very bytes that were checked.
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || file.size() > MAX_MIDI_FILE_BYTES) return false;
        piece_ = file.read(MAX_MIDI_FILE_BYTES);
        if (!midiFileLoopsSafely(piece_)) return false;
        settings_ = new_fluid_settings();
        fluid_settings_setint(settings_, "synth.reverb.active", 0);
        if (!soundFile_.isEmpty()) {
            fluid_settings_setstr(settings_, "audio.driver", "file");
            fluid_settings_setstr(settings_, "audio.file.name",
                                  soundFile_.toLocal8Bit().constData());
        }
        synth_ = new_fluid_synth(settings_);
        const QString font = soundfont();
        if (font.isEmpty() || fluid_synth_sfload(synth_, font.toLocal8Bit().constData(), 1) < 0) {
            close();
            return false;
        }
        player_ = new_fluid_player(synth_);
        fluid_player_set_loop(player_, -1);
        if (fluid_player_add_mem(player_, piece_.constData(), size_t(piece_.size())) != FLUID_OK) {
            close();
            return false;
        }
        return true;
    }

    bool play() override {
        if (!player_) return false;
        if (!driver_) driver_ = new_fluid_audio_driver(settings_, synth_);
        if (!driver_) return false; // no sound device: the preview stays silent
        return fluid_player_play(player_) == FLUID_OK;
    }

    void stop() override {
        if (player_) fluid_player_stop(player_);
        if (synth_) fluid_synth_all_sounds_off(synth_, -1);
    }

    void close() override {
        if (driver_) delete_fluid_audio_driver(driver_);
        if (player_) {
            fluid_player_stop(player_);
            delete_fluid_player(player_);
        }
        if (synth_) delete_fluid_synth(synth_);
        if (settings_) delete_fluid_settings(settings_);
        driver_ = nullptr;
        player_ = nullptr;
        synth_ = nullptr;
        settings_ = nullptr;
    }

  private:
    QString soundFile_;
    QByteArray piece_;
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    fluid_player_t* player_ = nullptr;
    fluid_audio_driver_t* driver_ = nullptr;
};

std::unique_ptr<MciInterpreter>& current() {
    static std::unique_ptr<MciInterpreter> interpreter;
    return interpreter;
}

} // namespace

bool midiFileLoopsSafely(const QByteArray& bytes) {
    return MidiReader(bytes).loopsSafely();
}

std::unique_ptr<MidiPlayer> makeFluidSynthPlayer(const QString& soundFile) {
    return std::make_unique<FluidSynthPlayer>(soundFile);
}

MciInterpreter::MciInterpreter(std::unique_ptr<MidiPlayer> player) : player_(std::move(player)) {}

int MciInterpreter::send(const QString& command) {
    // "open" takes the rest up to " type sequencer alias <name>" as the path,
    // so a path with blanks needs no quotes.
    if (command.startsWith("open ", Qt::CaseInsensitive)) {
        const QString marker = " type sequencer alias ";
        const qsizetype at = command.lastIndexOf(marker, -1, Qt::CaseInsensitive);
        if (at < 0) return MCI_UNKNOWN_COMMAND;
        const QString path = command.mid(5, at - 5);
        alias_ = command.mid(at + marker.size()).trimmed();
        return player_ && player_->open(path) ? MCI_OK : MCI_CANNOT_OPEN;
    }
    const QStringList words = command.split(' ', Qt::SkipEmptyParts);
    if (words.size() != 2) return MCI_UNKNOWN_COMMAND;
    if (alias_.isEmpty() || words[1].compare(alias_, Qt::CaseInsensitive) != 0)
        return MCI_BAD_ALIAS;
    const QString verb = words[0].toLower();
    if (!player_) return MCI_CANNOT_OPEN;
    if (verb == "play") return player_->play() ? MCI_OK : MCI_CANNOT_OPEN;
    if (verb == "stop") {
        player_->stop();
        return MCI_OK;
    }
    if (verb == "close") {
        player_->close();
        alias_.clear();
        return MCI_OK;
    }
    return MCI_UNKNOWN_COMMAND;
}

MciInterpreter& mci() {
    if (!current()) current() = std::make_unique<MciInterpreter>(makeFluidSynthPlayer());
    return *current();
}

void setMci(std::unique_ptr<MciInterpreter> interpreter) {
    current() = std::move(interpreter);
}
