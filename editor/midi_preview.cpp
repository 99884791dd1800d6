#include "midi_preview.h"

#include <QFileInfo>
#include <QStringList>

#include <fluidsynth.h>

#include <cstdlib>

namespace {

constexpr int MCI_OK = 0;
constexpr int MCI_UNKNOWN_COMMAND = 261;
constexpr int MCI_BAD_ALIAS = 263;
constexpr int MCI_CANNOT_OPEN = 275;

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
        if (fluid_player_add(player_, path.toLocal8Bit().constData()) != FLUID_OK) {
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
