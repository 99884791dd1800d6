#include "sound_notation.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace sfx {

namespace {

// Thrown inside the parser and turned into the error text at the top.
struct NotationError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Statement {
    int line = 0;
    std::string text;
};

std::string trim(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::vector<std::string> splitOn(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream stream(text);
    while (std::getline(stream, part, separator))
        parts.push_back(trim(part));
    if (!text.empty() && text.back() == separator) parts.push_back("");
    return parts;
}

std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream stream(text);
    std::string word;
    while (stream >> word)
        result.push_back(word);
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
std::vector<Statement> splitStatements(const std::string& source) {
    std::vector<Statement> statements;
    std::istringstream stream(source);
    std::string raw;
    int lineNumber = 0;
    while (std::getline(stream, raw)) {
        ++lineNumber;
        std::string line = withoutComment(raw);
        if (trim(line).empty()) continue;
        bool continues = std::isspace(static_cast<unsigned char>(line[0]));
        if (continues) {
            if (statements.empty())
                throw NotationError("line " + std::to_string(lineNumber) +
                                    ": indented line continues nothing");
            statements.back().text += " " + trim(line);
        } else {
            statements.push_back({lineNumber, trim(line)});
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
    std::optional<double> pitch = parsePitch(text);
    if (!pitch || *pitch <= 0.0) throw NotationError(what + ": '" + text + "' is not a pitch");
    return *pitch;
}

// "300" or "300>900"; pitches allow note names.
Sweep parseSweep(const std::string& text, const std::string& what, bool pitches, double low,
                 double high) {
    std::vector<std::string> ends = splitOn(text, '>');
    if (ends.size() > 2) throw NotationError(what + ": a sweep has one '>'");
    auto one = [&](const std::string& part) {
        double value = pitches ? parsePitchOrThrow(part, what) : parseNumber(part, what);
        if (value < low || value > high) {
            std::ostringstream message;
            message << what << " must lie between " << low << " and " << high << ", not " << part;
            throw NotationError(message.str());
        }
        return value;
    };
    Sweep sweep;
    sweep.from = one(ends[0]);
    sweep.to = ends.size() == 2 ? one(ends[1]) : sweep.from;
    return sweep;
}

std::vector<double> parseList(const std::string& text, const std::string& what) {
    std::vector<double> values;
    for (const std::string& part : splitOn(text, ','))
        values.push_back(parseNumber(part, what));
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

// Settings that a single tone and every note of a sequence share.
void applyToneSetting(ToneEvent& tone, const std::string& key, const std::string& value) {
    const double audible = 20000.0;
    if (key == "at")
        tone.start = parseRange(value, key, 0.0, 30.0);
    else if (key == "sweep")
        tone.sweepTime = parseRange(value, key, 0.0, 30.0);
    else if (key == "duty")
        tone.duty = parseSweep(value, key, false, 0.01, 0.99);
    else if (key == "ratio")
        tone.ratio = parseRange(value, key, 0.01, 64.0);
    else if (key == "vol")
        tone.volume = parseRange(value, key, 0.0, 4.0);
    else if (key == "attack")
        tone.attack = parseRange(value, key, 0.0, 30.0);
    else if (key == "decay")
        tone.decay = parseRange(value, key, 0.0, 30.0);
    else if (key == "sustain")
        tone.sustain = parseRange(value, key, 0.0, 1.0);
    else if (key == "release")
        tone.release = parseRange(value, key, 0.0, 30.0);
    else if (key == "half")
        tone.halfLife = parseRange(value, key, 0.0, 30.0);
    else if (key == "arp")
        tone.arpeggio = parseList(value, key);
    else if (key == "arpstep")
        tone.arpStep = parseRange(value, key, 0.001, 30.0);
    else if (key == "fmhalf")
        tone.fmHalfLife = parseRange(value, key, 0.0, 30.0);
    else if (key == "lowpass")
        tone.lowpass = parseSweep(value, key, false, 10.0, audible);
    else if (key == "highpass")
        tone.highpass = parseSweep(value, key, false, 10.0, audible);
    else if (key == "q")
        tone.resonance = parseRange(value, key, 0.1, 30.0);
    else if (key == "seed")
        tone.seed = static_cast<std::uint32_t>(parseRange(value, key, 1.0, 1e9));
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
        for (const std::string& part : splitOn(value, ','))
            tone.formants.push_back(parseSweep(part, key, false, 50.0, audible));
    } else {
        throw NotationError("unknown setting '" + key + "'");
    }
}

std::pair<std::string, std::string> splitSetting(const std::string& word) {
    size_t equals = word.find('=');
    if (equals == std::string::npos || equals == 0)
        throw NotationError("expected key=value, found '" + word + "'");
    return {word.substr(0, equals), word.substr(equals + 1)};
}

void parseTone(const std::vector<std::string>& parts, SoundRecipe& recipe) {
    if (parts.size() < 2) throw NotationError("tone needs a wave");
    ToneEvent tone;
    tone.wave = parseWaveform(parts[1]);
    tone.seed = static_cast<std::uint32_t>(recipe.tones.size() + 1);
    bool timed = false;
    for (size_t i = 2; i < parts.size(); ++i) {
        auto [key, value] = splitSetting(parts[i]);
        if (key == "time") {
            tone.hold = parseRange(value, key, 0.001, 30.0);
            timed = true;
        } else if (key == "freq") {
            tone.frequency = parseSweep(value, key, true, 1.0, 20000.0);
        } else {
            applyToneSetting(tone, key, value);
        }
    }
    if (!timed) throw NotationError("tone needs time=");
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
    if (colon == std::string::npos) throw NotationError("notes needs ':' before the notes");
    std::vector<std::string> parts = words(text.substr(0, colon));
    if (parts.size() < 2) throw NotationError("notes needs a wave");

    ToneEvent pattern;
    pattern.wave = parseWaveform(parts[1]);
    double tempo = 120.0;
    double gate = 0.9;
    double transpose = 0.0;
    for (size_t i = 2; i < parts.size(); ++i) {
        auto [key, value] = splitSetting(parts[i]);
        if (key == "tempo")
            tempo = parseRange(value, key, 10.0, 1000.0);
        else if (key == "gate")
            gate = parseRange(value, key, 0.05, 1.0);
        else if (key == "transpose")
            transpose = parseRange(value, key, -48.0, 48.0);
        else if (key == "time" || key == "freq")
            throw NotationError("'" + key + "' belongs to tone; notes take it from the notes");
        else
            applyToneSetting(pattern, key, value);
    }

    const double wholeNote = 4.0 * 60.0 / tempo;
    const double shift = std::pow(2.0, transpose / 12.0);
    double clock = pattern.start;
    int count = 0;
    for (const std::string& item : splitOn(text.substr(colon + 1), ',')) {
        if (item.empty()) continue; // a trailing comma before a wrapped line
        std::vector<std::string> noteParts = words(item);
        if (noteParts.size() != 2)
            throw NotationError("a note is 'PITCH LENGTH' (e.g. 'C5 1/8' or 'r 1/4'), found '" +
                                item + "'");
        double length = parseNoteLength(noteParts[1]) * wholeNote;
        if (noteParts[0] != "r") {
            ToneEvent note = pattern;
            note.start = clock;
            note.hold = length * gate;
            note.frequency = parseSweep(noteParts[0], "note", true, 1.0, 20000.0);
            note.frequency.from *= shift;
            note.frequency.to *= shift;
            note.seed = pattern.seed + static_cast<std::uint32_t>(recipe.tones.size());
            recipe.tones.push_back(note);
            ++count;
        }
        clock += length;
    }
    if (count == 0) throw NotationError("notes has no notes");
}

void parseEcho(const std::vector<std::string>& parts, SoundRecipe& recipe) {
    Echo echo{0.1, 0.3, 3};
    for (size_t i = 1; i < parts.size(); ++i) {
        auto [key, value] = splitSetting(parts[i]);
        if (key == "delay")
            echo.delay = parseRange(value, key, 0.005, 2.0);
        else if (key == "feedback")
            echo.feedback = parseRange(value, key, 0.0, 0.9);
        else if (key == "repeats")
            echo.repeats = static_cast<int>(parseRange(value, key, 1.0, 20.0));
        else
            throw NotationError("unknown echo setting '" + key + "'");
    }
    recipe.echo = echo;
}

void parseStatement(const std::string& text, SoundRecipe& recipe) {
    std::vector<std::string> parts = words(text);
    const std::string& command = parts[0];
    if (command == "tone")
        parseTone(parts, recipe);
    else if (command == "notes")
        parseNotes(text, recipe);
    else if (command == "echo")
        parseEcho(parts, recipe);
    else if (command == "level") {
        if (parts.size() != 2) throw NotationError("level takes one number of decibels");
        recipe.levelDb = parseRange(parts[1], "level", -24.0, 2.0);
    } else {
        throw NotationError("unknown statement '" + command + "' (tone, notes, echo, level)");
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

bool parseSoundRecipe(const std::string& text, SoundRecipe& recipe, std::string& error) {
    recipe = SoundRecipe{};
    std::vector<Statement> statements;
    try {
        statements = splitStatements(text);
    } catch (const NotationError& problem) {
        error = problem.what();
        return false;
    }
    for (const Statement& statement : statements) {
        try {
            parseStatement(statement.text, recipe);
        } catch (const NotationError& problem) {
            error = "line " + std::to_string(statement.line) + ": " + problem.what();
            return false;
        }
    }
    if (recipe.tones.empty()) {
        error = "no tone or notes: the effect would be silent";
        return false;
    }
    return true;
}

} // namespace sfx
