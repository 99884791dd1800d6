#include "sequence_player.h"

#include <algorithm>
#include <cstdio>

namespace music {
namespace {

// Past this a tune is surely a runaway repeat, not music.
constexpr std::uint32_t longestTrack = ticksPerQuarter * 60u * 400u * 30u;
constexpr int deepestPhraseNesting = 16;
// Repeats inside repeats multiply: commands that take no time ("[[[v90]99]99]99")
// would otherwise keep the builder busy for hours without a note played.
constexpr std::uint64_t mostCommandsPlayed = 10'000'000;

class SequencePlayer {
  public:
    SequencePlayer(const PhraseTable& phrases, Tune& tune, Track& track, Diagnostics& diagnostics)
        : phrases_(phrases), tune_(tune), track_(track), diagnostics_(diagnostics),
          drums_(track.channel == 10) {}

    void play(const std::vector<SourceLine>& lines) {
        playTokens(tokenize(lines), 0);
        if (failed_) return;
        if (tiePending_) fail(tieLine_, "a tie '&' must lead to a note");
        releaseHeld();
        track_.length = now_;
    }

  private:
    struct Held {
        int key;
        std::uint32_t start;
        int velocity;
    };

    void fail(int line, const std::string& message) {
        if (!failed_) diagnostics_.error(line, message);
        failed_ = true;
    }

    std::vector<Token> tokenize(const std::vector<SourceLine>& lines) {
        std::size_t errorsBefore = diagnostics_.messages().size();
        std::vector<Token> tokens = tokenizeNotes(lines, drums_, diagnostics_);
        if (diagnostics_.messages().size() != errorsBefore)
            failed_ = true; // the lexer has said why
        return tokens;
    }

    bool resolveLength(const WrittenLength& written, int line, std::uint32_t& ticks) {
        std::uint32_t base =
            written.baseTicks != 0 ? static_cast<std::uint32_t>(written.baseTicks) : defaultLength_;
        std::uint32_t total = base;
        std::uint32_t addition = base;
        for (int dot = 0; dot < written.dots; ++dot) {
            if (addition % 2 != 0) {
                fail(line, "too many dots for this length");
                return false;
            }
            addition /= 2;
            total += addition;
        }
        for (int extra : written.extraTicks) {
            total += static_cast<std::uint32_t>(extra);
            if (total > longestTrack) {
                fail(line, "the note is far too long");
                return false;
            }
        }
        ticks = total;
        return true;
    }

    bool keyFor(int semitone, int octave, int line, int& key) {
        key = 12 * (octave + 1) + semitone + track_.transpose;
        if (key < 0 || key > 127) {
            fail(line, "note is outside the MIDI range");
            return false;
        }
        return true;
    }

    void releaseHeld() {
        for (const Held& held : held_) {
            const std::uint32_t sounding = static_cast<std::uint32_t>(std::max<std::uint64_t>(
                1, std::uint64_t(segmentLength_) * std::uint64_t(heldGate_) / 100));
            track_.notes.push_back(
                Note{held.start, segmentStart_ - held.start + sounding, held.key, held.velocity});
        }
        held_.clear();
    }

    void advance(std::uint32_t length, int line) {
        now_ += length;
        if (now_ > longestTrack) fail(line, "the track runs far too long (a runaway repeat?)");
    }

    void sound(const std::vector<int>& keys, std::uint32_t length, int line) {
        std::vector<Held> next;
        if (tiePending_) {
            // Notes the tie carries on keep sounding; the others end where the tie is.
            for (const Held& held : held_) {
                if (std::find(keys.begin(), keys.end(), held.key) != keys.end()) {
                    next.push_back(held);
                } else {
                    track_.notes.push_back(
                        Note{held.start, now_ - held.start, held.key, held.velocity});
                }
            }
            held_.clear();
            tiePending_ = false;
        } else {
            releaseHeld();
        }
        for (int key : keys) {
            bool carried = std::any_of(next.begin(), next.end(),
                                       [key](const Held& h) { return h.key == key; });
            bool twice = std::count(keys.begin(), keys.end(), key) > 1;
            if (twice) {
                fail(line, "the same note twice in one chord");
                return;
            }
            if (!carried) next.push_back(Held{key, now_, velocity_});
        }
        held_ = std::move(next);
        segmentStart_ = now_;
        segmentLength_ = length;
        heldGate_ = gate_;
        advance(length, line);
    }

    void checkBarLine(int line) {
        std::uint32_t bar = tune_.ticksPerBar();
        std::uint32_t into = now_ % bar;
        if (into == 0) return;
        char beats[32];
        std::snprintf(beats, sizeof beats, "%g",
                      static_cast<double>(into) / (ticksPerWhole / tune_.beatUnit));
        fail(line, std::string("bar line comes ") + beats + " beats into bar " +
                       std::to_string(now_ / bar + 1));
    }

    // Collects a chord from just after '{' to its '}'; returns the index of the '}'.
    std::size_t playChord(const std::vector<Token>& tokens, std::size_t open) {
        std::vector<int> keys;
        int octave = octave_;
        for (std::size_t i = open + 1; i < tokens.size(); ++i) {
            const Token& token = tokens[i];
            switch (token.kind) {
            case TokenKind::Note:
            case TokenKind::Drum: {
                if (token.length.given()) {
                    fail(token.line,
                         "notes in a chord take the chord's length: write it after '}'");
                    return i;
                }
                int key = token.value;
                if (token.kind == TokenKind::Note && !keyFor(token.value, octave, token.line, key))
                    return i;
                keys.push_back(key);
                break;
            }
            case TokenKind::Octave:
                octave = token.value;
                break;
            case TokenKind::OctaveUp:
                ++octave;
                break;
            case TokenKind::OctaveDown:
                --octave;
                break;
            case TokenKind::ChordClose: {
                if (keys.empty()) {
                    fail(token.line, "empty chord");
                    return i;
                }
                std::uint32_t length = 0;
                if (resolveLength(token.length, token.line, length))
                    sound(keys, length, token.line);
                return i;
            }
            default:
                fail(token.line, "only notes and octave changes belong inside a chord");
                return i;
            }
        }
        fail(tokens[open].line, "chord '{' is never closed");
        return tokens.size();
    }

    // Pairs every '[' with its ']' and every '/' with the ']' of its repeat.
    bool matchRepeats(const std::vector<Token>& tokens, std::vector<std::size_t>& closeOf) {
        closeOf.assign(tokens.size(), 0);
        std::vector<std::size_t> open;
        std::vector<std::vector<std::size_t>> voltas;
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            switch (tokens[i].kind) {
            case TokenKind::RepeatOpen:
                open.push_back(i);
                voltas.emplace_back();
                break;
            case TokenKind::Volta:
                if (open.empty()) {
                    fail(tokens[i].line, "'/' outside a repeat");
                    return false;
                }
                voltas.back().push_back(i);
                break;
            case TokenKind::RepeatClose:
                if (open.empty()) {
                    fail(tokens[i].line, "']' without '['");
                    return false;
                }
                closeOf[open.back()] = i;
                for (std::size_t volta : voltas.back())
                    closeOf[volta] = i;
                open.pop_back();
                voltas.pop_back();
                break;
            default:
                break;
            }
        }
        if (!open.empty()) {
            fail(tokens[open.back()].line, "repeat '[' is never closed");
            return false;
        }
        return true;
    }

    void playPhrase(const Token& token, int depth) {
        auto phrase = phrases_.find(token.name);
        if (phrase == phrases_.end()) {
            fail(token.line, "no phrase named '" + token.name + "'");
            return;
        }
        if (depth >= deepestPhraseNesting) {
            fail(token.line,
                 "phrase '" + token.name + "' is nested too deeply (does it use itself?)");
            return;
        }
        playTokens(tokenize(phrase->second), depth + 1);
    }

    void playTokens(const std::vector<Token>& tokens, int depth) {
        std::vector<std::size_t> closeOf;
        if (failed_ || !matchRepeats(tokens, closeOf)) return;
        struct Pass {
            std::size_t open;
            int number;
        };
        std::vector<Pass> repeats;
        for (std::size_t i = 0; i < tokens.size() && !failed_; ++i) {
            const Token& token = tokens[i];
            if (++commandsPlayed_ > mostCommandsPlayed) {
                fail(token.line, "the track plays more than " + std::to_string(mostCommandsPlayed) +
                                     " commands (a runaway repeat?)");
                break;
            }
            std::uint32_t length = 0;
            switch (token.kind) {
            case TokenKind::Note: {
                int key = 0;
                if (keyFor(token.value, octave_, token.line, key) &&
                    resolveLength(token.length, token.line, length)) {
                    sound({key}, length, token.line);
                }
                break;
            }
            case TokenKind::Drum:
                if (resolveLength(token.length, token.line, length))
                    sound({token.value}, length, token.line);
                break;
            case TokenKind::Rest:
                if (tiePending_) {
                    fail(token.line, "a tie '&' must lead to a note, not a rest");
                    break;
                }
                if (resolveLength(token.length, token.line, length)) {
                    releaseHeld();
                    advance(length, token.line);
                }
                break;
            case TokenKind::Octave:
                octave_ = token.value;
                break;
            case TokenKind::OctaveUp:
                ++octave_;
                break;
            case TokenKind::OctaveDown:
                --octave_;
                break;
            case TokenKind::DefaultLength:
                if (resolveLength(token.length, token.line, length)) defaultLength_ = length;
                break;
            case TokenKind::Velocity:
                velocity_ = token.value;
                break;
            case TokenKind::Gate:
                gate_ = token.value;
                break;
            case TokenKind::Tempo:
                tune_.tempos.push_back(TempoChange{now_, static_cast<double>(token.value)});
                break;
            case TokenKind::Tie:
                if (held_.empty()) fail(token.line, "a tie '&' must follow a note");
                tiePending_ = true;
                tieLine_ = token.line;
                break;
            case TokenKind::ChordOpen:
                i = playChord(tokens, i);
                break;
            case TokenKind::ChordClose:
                fail(token.line, "'}' without '{'");
                break;
            case TokenKind::RepeatOpen:
                repeats.push_back(Pass{i, 1});
                break;
            case TokenKind::RepeatClose:
                if (repeats.back().number < token.value) {
                    ++repeats.back().number;
                    i = repeats.back().open;
                } else {
                    repeats.pop_back();
                }
                break;
            case TokenKind::Volta:
                if (repeats.back().number == tokens[closeOf[i]].value) {
                    repeats.pop_back();
                    i = closeOf[i];
                }
                break;
            case TokenKind::BarLine:
                checkBarLine(token.line);
                break;
            case TokenKind::PhraseRef:
                playPhrase(token, depth);
                break;
            }
        }
    }

    const PhraseTable& phrases_;
    Tune& tune_;
    Track& track_;
    Diagnostics& diagnostics_;
    bool drums_;
    bool failed_ = false;

    std::uint32_t now_ = 0;
    std::uint64_t commandsPlayed_ = 0;
    int octave_ = 4;
    std::uint32_t defaultLength_ = ticksPerQuarter;
    int velocity_ = 100;
    int gate_ = 90;

    std::vector<Held> held_;
    std::uint32_t segmentStart_ = 0;
    std::uint32_t segmentLength_ = 0;
    int heldGate_ = 90;
    bool tiePending_ = false;
    int tieLine_ = 0;
};

} // namespace

void playTrack(const std::vector<SourceLine>& lines, const PhraseTable& phrases, Tune& tune,
               Track& track, Diagnostics& diagnostics) {
    SequencePlayer(phrases, tune, track, diagnostics).play(lines);
}

} // namespace music
