#include "sound_notation.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace sfx {

namespace {

constexpr size_t kUnplaced = std::string::npos;
// The latest a tone may start or stop holding: an effect is a short sound,
// and a runaway note list would otherwise ask for hours of samples.
constexpr double kLongestTime = 30.0;

// Thrown inside the parser and turned into a located message at the top.
// The offset is into the statement's text; unplaced errors are placed by
// the caller that knows which word was being read.
struct NotationError : std::runtime_error {
    explicit NotationError(const std::string& message, size_t at = kUnplaced)
        : std::runtime_error(message), offset(at) {}
    size_t offset;
};

// A piece of a statement and where it starts in the statement's text.
struct Word {
    std::string text;
    size_t offset = 0;
};

// Where a stretch of a statement's text came from: its first byte is at
// (line, column) of the source.
struct Span {
    size_t start = 0;
    int line = 0;
    int column = 0;
};

struct Statement {
    std::string text;
    std::vector<Span> spans;

    std::pair<int, int> locate(size_t offset) const {
        const Span* found = &spans.front();
        for (const Span& span : spans)
            if (span.start <= offset) found = &span;
        return {found->line, found->column + static_cast<int>(offset - found->start)};
    }
};

// Runs parse; a mistake it reports without a place is placed at offset.
template <typename Parse> auto placedAt(size_t offset, Parse parse) {
    try {
        return parse();
    } catch (const NotationError& problem) {
        if (problem.offset != kUnplaced) throw;
        throw NotationError(problem.what(), offset);
    }
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string trim(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// The parts between separators, trimmed; an empty part keeps the place
// where it would have stood.
std::vector<Word> splitOn(const Word& text, char separator) {
    std::vector<Word> parts;
    if (text.text.empty()) return parts;
    size_t begin = 0;
    for (;;) {
        size_t end = text.text.find(separator, begin);
        if (end == std::string::npos) end = text.text.size();
        size_t first = begin;
        while (first < end && isBlank(text.text[first]))
            ++first;
        size_t last = end;
        while (last > first && isBlank(text.text[last - 1]))
            --last;
        parts.push_back({text.text.substr(first, last - first), text.offset + first});
        if (end == text.text.size()) break;
        begin = end + 1;
    }
    return parts;
}

std::vector<Word> words(const std::string& text, size_t base = 0) {
    std::vector<Word> result;
    size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])))
            ++at;
        const size_t start = at;
        while (at < text.size() && !std::isspace(static_cast<unsigned char>(text[at])))
            ++at;
        if (at > start) result.push_back({text.substr(start, at - start), base + start});
    }
    return result;
}

// A comment starts at a '#' that begins the line or follows a blank, so
// that sharps such as "G#4" are notes, not comments.
std::string withoutComment(const std::string& line) {
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '#' && (i == 0 || std::isspace(static_cast<unsigned char>(line[i - 1]))))
            return line.substr(0, i);
    }
    return line;
}

// A line that starts with blanks continues the statement above it, so long
// tunes can wrap.
std::vector<Statement> splitStatements(const std::string& source, Diagnostics& diagnostics) {
    std::vector<Statement> statements;
    std::istringstream stream(source);
    std::string raw;
    int lineNumber = 0;
    while (std::getline(stream, raw)) {
        ++lineNumber;
        std::string line = withoutComment(raw);
        const size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos) continue;
        const Span span{0, lineNumber, static_cast<int>(first) + 1};
        if (first > 0) {
            if (statements.empty()) {
                diagnostics.error(lineNumber, 1, "indented line continues nothing");
                return {};
            }
            Statement& statement = statements.back();
            statement.text += " ";
            statement.spans.push_back(span);
            statement.spans.back().start = statement.text.size();
            statement.text += trim(line);
        } else {
            statements.push_back({trim(line), {span}});
        }
    }
    return statements;
}

double parseNumber(const std::string& text, const std::string& what) {
    if (text.empty()) throw NotationError(what + " needs a number");
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(value))
        throw NotationError(what + ": '" + text + "' is not a number");
    return value;
}

double parseRange(const std::string& text, const std::string& what, double low, double high) {
    double value = parseNumber(text, what);
    if (value < low || value > high) {
        std::ostringstream message;
        message << what << " must lie between " << low << " and " << high << ", not " << text;
        throw NotationError(message.str());
    }
    return value;
}

double parsePitchOrThrow(const std::string& text, const std::string& what) {
    if (text.empty()) throw NotationError(what + " needs a pitch");
    std::optional<double> pitch = parsePitch(text);
    if (!pitch || *pitch <= 0.0) throw NotationError(what + ": '" + text + "' is not a pitch");
    return *pitch;
}

// "300" or "300>900"; pitches allow note names.
Sweep parseSweep(const Word& text, const std::string& what, bool pitches, double low, double high) {
    std::vector<Word> ends = splitOn(text, '>');
    if (ends.empty()) throw NotationError(what + " needs a value", text.offset);
    if (ends.size() > 2) throw NotationError(what + ": a sweep has one '>'", text.offset);
    auto one = [&](const Word& part) {
        return placedAt(part.offset, [&] {
            double value =
                pitches ? parsePitchOrThrow(part.text, what) : parseNumber(part.text, what);
            if (value < low || value > high) {
                std::ostringstream message;
                message << what << " must lie between " << low << " and " << high << ", not "
                        << part.text;
                throw NotationError(message.str());
            }
            return value;
        });
    };
    Sweep sweep;
    sweep.from = one(ends[0]);
    sweep.to = ends.size() == 2 ? one(ends[1]) : sweep.from;
    return sweep;
}

std::vector<double> parseList(const Word& text, const std::string& what) {
    std::vector<double> values;
    for (const Word& part : splitOn(text, ','))
        values.push_back(placedAt(part.offset, [&] { return parseNumber(part.text, what); }));
    return values;
}

Waveform parseWaveform(const std::string& name) {
    if (name == "square") return Waveform::Square;
    if (name == "triangle") return Waveform::Triangle;
    if (name == "saw") return Waveform::Saw;
    if (name == "sine") return Waveform::Sine;
    if (name == "noise") return Waveform::Noise;
    throw NotationError("unknown wave '" + name + "' (square, triangle, saw, sine, noise)");
}

// Settings that a single tone and every note of a sequence share. False for
// a key that is none of them.
bool applyToneSetting(ToneEvent& tone, const std::string& key, const Word& value) {
    const double audible = 20000.0;
    const std::string& text = value.text;
    if (key == "at")
        tone.start = parseRange(text, key, 0.0, kLongestTime);
    else if (key == "sweep")
        tone.sweepTime = parseRange(text, key, 0.0, kLongestTime);
    else if (key == "duty")
        tone.duty = parseSweep(value, key, false, 0.01, 0.99);
    else if (key == "ratio")
        tone.ratio = parseRange(text, key, 0.01, 64.0);
    else if (key == "vol")
        tone.volume = parseRange(text, key, 0.0, 4.0);
    else if (key == "attack")
        tone.attack = parseRange(text, key, 0.0, kLongestTime);
    else if (key == "decay")
        tone.decay = parseRange(text, key, 0.0, kLongestTime);
    else if (key == "sustain")
        tone.sustain = parseRange(text, key, 0.0, 1.0);
    else if (key == "release")
        tone.release = parseRange(text, key, 0.0, kLongestTime);
    else if (key == "half")
        tone.halfLife = parseRange(text, key, 0.0, kLongestTime);
    else if (key == "arp")
        tone.arpeggio = parseList(value, key);
    else if (key == "arpstep")
        tone.arpStep = parseRange(text, key, 0.001, kLongestTime);
    else if (key == "fmhalf")
        tone.fmHalfLife = parseRange(text, key, 0.0, kLongestTime);
    else if (key == "lowpass")
        tone.lowpass = parseSweep(value, key, false, 10.0, audible);
    else if (key == "highpass")
        tone.highpass = parseSweep(value, key, false, 10.0, audible);
    else if (key == "q")
        tone.resonance = parseRange(text, key, 0.1, 30.0);
    else if (key == "seed")
        tone.seed = static_cast<std::uint32_t>(parseRange(text, key, 1.0, 1e9));
    else if (key == "vibrato") {
        std::vector<double> rateAndDepth = parseList(value, key);
        if (rateAndDepth.size() != 2) throw NotationError("vibrato is rate,depth");
        tone.vibratoRate = rateAndDepth[0];
        tone.vibratoDepth = rateAndDepth[1];
    } else if (key == "fm") {
        std::vector<double> ratioAndIndex = parseList(value, key);
        if (ratioAndIndex.size() != 2 || ratioAndIndex[0] <= 0.0)
            throw NotationError("fm is ratio,index with a ratio above 0");
        tone.fmRatio = ratioAndIndex[0];
        tone.fmIndex = ratioAndIndex[1];
    } else if (key == "formants") {
        tone.formants.clear();
        for (const Word& part : splitOn(value, ','))
            tone.formants.push_back(parseSweep(part, key, false, 50.0, audible));
    } else {
        return false;
    }
    return true;
}

struct Setting {
    std::string key;
    Word value;
};

// "key=value"; a setting without its value is a mistake, never a default.
Setting splitSetting(const Word& word) {
    size_t equals = word.text.find('=');
    if (equals == std::string::npos || equals == 0)
        throw NotationError("expected key=value, found '" + word.text + "'", word.offset);
    Setting setting{word.text.substr(0, equals),
                    {word.text.substr(equals + 1), word.offset + equals + 1}};
    if (setting.value.text.empty())
        throw NotationError(setting.key + "= needs a value", setting.value.offset);
    return setting;
}

// Applies a setting shared by tones and notes, placing its mistakes.
void applySharedSetting(ToneEvent& tone, const Word& word, const Setting& setting) {
    const bool known = placedAt(setting.value.offset,
                                [&] { return applyToneSetting(tone, setting.key, setting.value); });
    if (!known) throw NotationError("unknown setting '" + setting.key + "'", word.offset);
}

void parseTone(const std::vector<Word>& parts, SoundRecipe& recipe) {
    if (parts.size() < 2) throw NotationError("tone needs a wave", parts[0].offset);
    ToneEvent tone;
    tone.wave = placedAt(parts[1].offset, [&] { return parseWaveform(parts[1].text); });
    tone.seed = static_cast<std::uint32_t>(recipe.tones.size() + 1);
    bool timed = false;
    for (size_t i = 2; i < parts.size(); ++i) {
        const Setting setting = splitSetting(parts[i]);
        if (setting.key == "time") {
            tone.hold = placedAt(setting.value.offset, [&] {
                return parseRange(setting.value.text, setting.key, 0.001, kLongestTime);
            });
            timed = true;
        } else if (setting.key == "freq") {
            tone.frequency = parseSweep(setting.value, setting.key, true, 1.0, 20000.0);
        } else {
            applySharedSetting(tone, parts[i], setting);
        }
    }
    if (!timed) throw NotationError("tone needs time=", parts[0].offset);
    recipe.tones.push_back(tone);
}

// Note lengths are fractions of a whole note: "1/8", "3/16" or "1".
double parseNoteLength(const std::string& text) {
    size_t slash = text.find('/');
    double length = slash == std::string::npos
                        ? parseNumber(text, "note length")
                        : parseNumber(text.substr(0, slash), "note length") /
                              parseNumber(text.substr(slash + 1), "note length");
    if (!(length > 0.0) || length > 16.0) throw NotationError("bad note length '" + text + "'");
    return length;
}

void parseNotes(const std::string& text, SoundRecipe& recipe) {
    size_t colon = text.find(':');
    if (colon == std::string::npos) throw NotationError("notes needs ':' before the notes", 0);
    std::vector<Word> parts = words(text.substr(0, colon));
    if (parts.size() < 2) throw NotationError("notes needs a wave", 0);

    ToneEvent pattern;
    pattern.wave = placedAt(parts[1].offset, [&] { return parseWaveform(parts[1].text); });
    double tempo = 120.0;
    double gate = 0.9;
    double transpose = 0.0;
    for (size_t i = 2; i < parts.size(); ++i) {
        const Setting setting = splitSetting(parts[i]);
        const std::string& key = setting.key;
        auto range = [&](double low, double high) {
            return placedAt(setting.value.offset,
                            [&] { return parseRange(setting.value.text, key, low, high); });
        };
        if (key == "tempo")
            tempo = range(10.0, 1000.0);
        else if (key == "gate")
            gate = range(0.05, 1.0);
        else if (key == "transpose")
            transpose = range(-48.0, 48.0);
        else if (key == "time" || key == "freq")
            throw NotationError("'" + key + "' belongs to tone; notes take it from the notes",
                                parts[i].offset);
        else
            applySharedSetting(pattern, parts[i], setting);
    }

    const double wholeNote = 4.0 * 60.0 / tempo;
    const double shift = std::pow(2.0, transpose / 12.0);
    double clock = pattern.start;
    int count = 0;
    for (const Word& item : splitOn({text.substr(colon + 1), colon + 1}, ',')) {
        if (item.text.empty()) continue; // a trailing comma before a wrapped line
        std::vector<Word> noteParts = words(item.text, item.offset);
        if (noteParts.size() != 2)
            throw NotationError("a note is 'PITCH LENGTH' (e.g. 'C5 1/8' or 'r 1/4'), found '" +
                                    item.text + "'",
                                item.offset);
        double length =
            placedAt(noteParts[1].offset, [&] { return parseNoteLength(noteParts[1].text); }) *
            wholeNote;
        if (noteParts[0].text != "r") {
            ToneEvent note = pattern;
            note.start = clock;
            note.hold = length * gate;
            if (note.start > kLongestTime || note.hold > kLongestTime) {
                std::ostringstream message;
                message << "the notes run past " << kLongestTime << " s";
                throw NotationError(message.str(), item.offset);
            }
            note.frequency = parseSweep(noteParts[0], "note", true, 1.0, 20000.0);
            note.frequency.from *= shift;
            note.frequency.to *= shift;
            note.seed = pattern.seed + static_cast<std::uint32_t>(recipe.tones.size());
            recipe.tones.push_back(note);
            ++count;
        }
        clock += length;
    }
    if (count == 0) throw NotationError("notes has no notes", 0);
}

void parseEcho(const std::vector<Word>& parts, SoundRecipe& recipe) {
    Echo echo{0.1, 0.3, 3};
    for (size_t i = 1; i < parts.size(); ++i) {
        const Setting setting = splitSetting(parts[i]);
        const std::string& key = setting.key;
        auto range = [&](double low, double high) {
            return placedAt(setting.value.offset,
                            [&] { return parseRange(setting.value.text, key, low, high); });
        };
        if (key == "delay")
            echo.delay = range(0.005, 2.0);
        else if (key == "feedback")
            echo.feedback = range(0.0, 0.9);
        else if (key == "repeats")
            echo.repeats = static_cast<int>(range(1.0, 20.0));
        else
            throw NotationError("unknown echo setting '" + key + "'", parts[i].offset);
    }
    recipe.echo = echo;
}

void parseStatement(const std::string& text, SoundRecipe& recipe) {
    std::vector<Word> parts = words(text);
    if (parts.empty()) return; // a statement of blanks alone says nothing
    const std::string& command = parts[0].text;
    if (command == "tone")
        parseTone(parts, recipe);
    else if (command == "notes")
        parseNotes(text, recipe);
    else if (command == "echo")
        parseEcho(parts, recipe);
    else if (command == "level") {
        if (parts.size() != 2) throw NotationError("level takes one number of decibels", 0);
        recipe.levelDb = placedAt(parts[1].offset,
                                  [&] { return parseRange(parts[1].text, "level", -24.0, 2.0); });
    } else {
        throw NotationError("unknown statement '" + command + "' (tone, notes, echo, level)", 0);
    }
}

} // namespace

std::optional<double> parsePitch(const std::string& text) {
    if (text.empty()) return std::nullopt;
    if (std::isdigit(static_cast<unsigned char>(text[0]))) {
        char* end = nullptr;
        double hertz = std::strtod(text.c_str(), &end);
        if (*end != '\0') return std::nullopt;
        return hertz;
    }
    static const int semitoneOfLetter[] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    if (text[0] < 'A' || text[0] > 'G') return std::nullopt;
    int semitone = semitoneOfLetter[text[0] - 'A'];
    size_t position = 1;
    if (position < text.size() && (text[position] == '#' || text[position] == 'b')) {
        semitone += text[position] == '#' ? 1 : -1;
        ++position;
    }
    if (position >= text.size()) return std::nullopt;
    char* end = nullptr;
    long octave = std::strtol(text.c_str() + position, &end, 10);
    if (*end != '\0' || octave < 0 || octave > 9) return std::nullopt;
    int midiNote = static_cast<int>(12 * (octave + 1)) + semitone;
    return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0);
}

bool parseSoundRecipe(const std::string& text, SoundRecipe& recipe, Diagnostics& diagnostics) {
    recipe = SoundRecipe{};
    const size_t errorsBefore = diagnostics.messages().size();
    const std::vector<Statement> statements = splitStatements(text, diagnostics);
    if (diagnostics.messages().size() != errorsBefore) return false;
    for (const Statement& statement : statements) {
        try {
            parseStatement(statement.text, recipe);
        } catch (const NotationError& problem) {
            const auto [line, column] =
                statement.locate(problem.offset == kUnplaced ? 0 : problem.offset);
            diagnostics.error(line, column, problem.what());
            return false;
        }
    }
    if (recipe.tones.empty()) {
        diagnostics.error("no tone or notes: the effect would be silent");
        return false;
    }
    return true;
}

} // namespace sfx
