#include "tune_parser.h"

#include "sequence_player.h"
#include "source_line.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace music {
namespace {

std::string trim(const std::string& text) {
    std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// Cuts a ';' comment off, leaving a ';' inside double quotes alone.
std::string withoutComment(const std::string& line) {
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') quoted = !quoted;
        if (line[i] == ';' && !quoted) return line.substr(0, i);
    }
    return line;
}

bool parseInteger(const std::string& text, int low, int high, int& value) {
    std::istringstream in(text);
    long long number = 0;
    std::string rest;
    if (!(in >> number) || (in >> rest)) return false;
    if (number < low || number > high) return false;
    value = static_cast<int>(number);
    return true;
}

std::string describeLength(const Tune& tune, std::uint32_t ticks) {
    std::uint32_t bar = tune.ticksPerBar();
    char text[64];
    std::snprintf(text, sizeof text, "%u bars and %g beats", ticks / bar,
                  static_cast<double>(ticks % bar) / (ticksPerWhole / tune.beatUnit));
    return text;
}

struct TrackSource {
    Track track;
    std::vector<SourceLine> lines;
    bool hasNotes = false;
};

class TuneReader {
  public:
    TuneReader(Tune& tune, Diagnostics& diagnostics) : tune_(tune), diagnostics_(diagnostics) {}

    bool read(const std::string& source) {
        std::istringstream in(source);
        std::string raw;
        int number = 0;
        while (std::getline(in, raw)) {
            ++number;
            std::string line = trim(withoutComment(raw));
            if (!line.empty()) readLine(number, line);
        }
        if (diagnostics_.hasErrors()) return false;
        if (tracks_.empty()) {
            diagnostics_.error(number, "a tune needs at least one track");
            return false;
        }
        tune_.tempos.insert(tune_.tempos.begin(), TempoChange{0, tempo_});
        for (TrackSource& source : tracks_) {
            playTrack(source.lines, phrases_, tune_, source.track, diagnostics_);
            tune_.tracks.push_back(std::move(source.track));
        }
        if (diagnostics_.hasErrors()) return false;
        settleTempos();
        checkChannels();
        settleLength();
        return !diagnostics_.hasErrors();
    }

  private:
    enum class Block { Header, Phrase, Track };

    void readLine(int number, const std::string& line) {
        std::string word = line.substr(0, line.find_first_of(" \t"));
        std::string argument = trim(line.substr(word.size()));
        if (word == "track" || word == "phrase") {
            startBlock(number, word, argument);
        } else if (word == "title" || word == "tempo" || word == "time" || word == "loop") {
            if (block_ != Block::Header) {
                diagnostics_.error(number,
                                   "'" + word +
                                       "' belongs in the header, before the first phrase or track");
            } else {
                readHeader(number, word, argument);
            }
        } else if (block_ == Block::Track && isTrackSetting(word)) {
            readTrackSetting(number, word, argument);
        } else if (block_ == Block::Header) {
            diagnostics_.error(number, "expected title, tempo, time, loop, phrase or track, not '" +
                                           word + "'");
        } else if (block_ == Block::Phrase) {
            phrases_[phraseName_].push_back(SourceLine{number, line});
        } else {
            tracks_.back().lines.push_back(SourceLine{number, line});
            tracks_.back().hasNotes = true;
        }
    }

    void startBlock(int number, const std::string& word, const std::string& name) {
        if (name.empty() || name.find_first_of(" \t") != std::string::npos) {
            diagnostics_.error(number, "'" + word + "' needs one name");
            return;
        }
        if (word == "phrase") {
            if (phrases_.count(name) != 0)
                diagnostics_.error(number, "phrase '" + name + "' is defined twice");
            block_ = Block::Phrase;
            phraseName_ = name;
            phrases_[name];
            return;
        }
        block_ = Block::Track;
        TrackSource source;
        source.track.name = name;
        source.track.line = number;
        tracks_.push_back(std::move(source));
    }

    void readHeader(int number, const std::string& word, const std::string& argument) {
        if (word == "title") {
            std::string title = argument;
            if (title.size() >= 2 && title.front() == '"' && title.back() == '"')
                title = title.substr(1, title.size() - 2);
            tune_.title = title;
        } else if (word == "tempo") {
            int value = 0;
            if (!parseInteger(argument, 20, 400, value)) {
                diagnostics_.error(number, "tempo is quarter notes per minute, from 20 to 400");
            }
            tempo_ = value;
        } else if (word == "time") {
            int beats = 0;
            int unit = 0;
            std::size_t slash = argument.find('/');
            bool valid = slash != std::string::npos &&
                         parseInteger(argument.substr(0, slash), 1, 32, beats) &&
                         parseInteger(argument.substr(slash + 1), 1, 16, unit) &&
                         (unit & (unit - 1)) == 0;
            if (!valid) {
                diagnostics_.error(number, "time is beats/unit, such as 4/4, 3/4 or 6/8");
                return;
            }
            tune_.beatsPerBar = beats;
            tune_.beatUnit = unit;
        } else if (argument == "yes" || argument == "no") {
            tune_.loops = argument == "yes";
        } else {
            diagnostics_.error(number, "loop is yes or no");
        }
    }

    static bool isTrackSetting(const std::string& word) {
        return word == "program" || word == "channel" || word == "volume" || word == "pan" ||
               word == "reverb" || word == "chorus" || word == "transpose";
    }

    void readTrackSetting(int number, const std::string& word, const std::string& argument) {
        TrackSource& source = tracks_.back();
        if (source.hasNotes) {
            diagnostics_.error(number, "'" + word + "' must come before the track's notes");
            return;
        }
        Track& track = source.track;
        struct Setting {
            const char* name;
            int* field;
            int low;
            int high;
        };
        const Setting settings[] = {
            {"program", &track.program, 1, 128},      {"channel", &track.channel, 1, 16},
            {"volume", &track.volume, 0, 127},        {"pan", &track.pan, 0, 127},
            {"reverb", &track.reverb, 0, 127},        {"chorus", &track.chorus, 0, 127},
            {"transpose", &track.transpose, -48, 48},
        };
        for (const Setting& setting : settings) {
            if (word != setting.name) continue;
            if (!parseInteger(argument, setting.low, setting.high, *setting.field)) {
                diagnostics_.error(number, word + " needs a number from " +
                                               std::to_string(setting.low) + " to " +
                                               std::to_string(setting.high));
            }
            return;
        }
    }

    // Tempo commands of every track merge into one list; the latest written
    // for a tick wins.
    void settleTempos() {
        std::stable_sort(
            tune_.tempos.begin(), tune_.tempos.end(),
            [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
        std::vector<TempoChange> settled;
        for (const TempoChange& change : tune_.tempos) {
            if (!settled.empty() && settled.back().tick == change.tick) {
                settled.back() = change;
            } else {
                settled.push_back(change);
            }
        }
        tune_.tempos = std::move(settled);
    }

    // A channel plays one instrument at a time; two tracks that want different
    // ones on the same channel would silently steal it from each other.
    void checkChannels() {
        for (std::size_t i = 0; i < tune_.tracks.size(); ++i) {
            for (std::size_t j = 0; j < i; ++j) {
                const Track& a = tune_.tracks[j];
                const Track& b = tune_.tracks[i];
                if (a.channel == b.channel &&
                    (a.program != b.program || a.volume != b.volume || a.pan != b.pan)) {
                    diagnostics_.error(b.line, "track '" + b.name + "' shares channel " +
                                                   std::to_string(b.channel) + " with '" + a.name +
                                                   "' but not its program, volume and pan");
                }
            }
        }
    }

    // A looping piece must end on a bar line with every track the same
    // length, or the restart stumbles.
    void settleLength() {
        std::uint32_t length = 0;
        for (const Track& track : tune_.tracks)
            length = std::max(length, track.length);
        tune_.length = length;
        if (length == 0) {
            diagnostics_.error(tracks_.front().track.line, "the tune has no notes");
            return;
        }
        if (!tune_.loops) return;
        if (length % tune_.ticksPerBar() != 0) {
            diagnostics_.error(tracks_.front().track.line,
                               "a looping tune must end on a bar line, but it lasts " +
                                   describeLength(tune_, length));
        }
        for (const Track& track : tune_.tracks) {
            if (track.length != length) {
                diagnostics_.error(track.line, "track '" + track.name + "' lasts " +
                                                   describeLength(tune_, track.length) +
                                                   " but the tune lasts " +
                                                   describeLength(tune_, length));
            }
        }
    }

    Tune& tune_;
    Diagnostics& diagnostics_;
    Block block_ = Block::Header;
    double tempo_ = 120.0;
    std::string phraseName_;
    PhraseTable phrases_;
    std::vector<TrackSource> tracks_;
};

} // namespace

bool parseTune(const std::string& source, Tune& tune, Diagnostics& diagnostics) {
    return TuneReader(tune, diagnostics).read(source);
}

} // namespace music
