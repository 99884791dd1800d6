#include "note_tokens.h"

#include "drum_names.h"
#include "tune.h"

#include <cctype>
#include <string_view>

namespace music {
namespace {

class NoteLexer {
  public:
    NoteLexer(const SourceLine& line, bool drumTrack, Diagnostics& diagnostics,
              std::vector<Token>& out)
        : text_(line.text), line_(line.number), drumTrack_(drumTrack), diagnostics_(diagnostics),
          out_(out) {}

    void run() {
        while (skipSpaces()) {
            if (!readToken()) return; // one error per line is enough to find it
        }
    }

  private:
    bool skipSpaces() {
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_])))
            ++pos_;
        return pos_ < text_.size();
    }

    char peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }

    bool fail(const std::string& message) {
        diagnostics_.error(line_, message);
        return false;
    }

    // Reads an unsigned number; -1 when there is none or it is absurdly long.
    int readNumber() {
        std::size_t start = pos_;
        while (std::isdigit(static_cast<unsigned char>(peek())) && pos_ - start < 6)
            ++pos_;
        if (pos_ == start || std::isdigit(static_cast<unsigned char>(peek()))) return -1;
        return std::stoi(std::string(text_.substr(start, pos_ - start)));
    }

    bool readLengthValue(int& ticks) {
        int divisor = readNumber();
        if (divisor <= 0 || ticksPerWhole % divisor != 0) {
            return fail("length must divide a whole note evenly (1, 2, 3, 4, 6, 8, 12, 16, 24, 32, "
                        "48, 64)");
        }
        ticks = ticksPerWhole / divisor;
        return true;
    }

    bool readLength(WrittenLength& length) {
        if (std::isdigit(static_cast<unsigned char>(peek()))) {
            if (!readLengthValue(length.baseTicks)) return false;
        }
        while (peek() == '.') {
            ++length.dots;
            ++pos_;
        }
        while (peek() == '^') {
            ++pos_;
            int ticks = 0;
            if (!readLengthValue(ticks)) return false;
            length.extraTicks.push_back(ticks);
        }
        return true;
    }

    bool readBounded(const char* what, int low, int high, int& value) {
        value = readNumber();
        if (value < low || value > high) {
            return fail(std::string(what) + " needs a number from " + std::to_string(low) + " to " +
                        std::to_string(high));
        }
        return true;
    }

    void push(TokenKind kind, int value = 0) {
        Token token;
        token.kind = kind;
        token.line = line_;
        token.value = value;
        out_.push_back(token);
    }

    bool readValueCommand(char command) {
        int value = 0;
        switch (command) {
        case 'o':
            if (!readBounded("octave 'o'", 0, 9, value)) return false;
            push(TokenKind::Octave, value);
            return true;
        case 'v':
            if (!readBounded("velocity 'v'", 1, 127, value)) return false;
            push(TokenKind::Velocity, value);
            return true;
        case 'q':
            if (!readBounded("gate 'q'", 1, 100, value)) return false;
            push(TokenKind::Gate, value);
            return true;
        case 't':
            if (!readBounded("tempo 't'", 20, 400, value)) return false;
            push(TokenKind::Tempo, value);
            return true;
        case 'l': {
            push(TokenKind::DefaultLength);
            if (!std::isdigit(static_cast<unsigned char>(peek())))
                return fail("'l' needs a length");
            return readLength(out_.back().length);
        }
        case 'r':
            push(TokenKind::Rest);
            return readLength(out_.back().length);
        default:
            return fail(std::string("unknown command '") + command + "'");
        }
    }

    bool readNote(char letter) {
        static constexpr int semitones[] = {9, 11, 0, 2, 4, 5, 7}; // a b c d e f g
        int semitone = semitones[letter - 'a'];
        for (;;) {
            char c = peek();
            if (c == '+' || c == '#') {
                ++semitone;
            } else if (c == '-') {
                --semitone;
            } else {
                break;
            }
            ++pos_;
        }
        push(TokenKind::Note, semitone);
        return readLength(out_.back().length);
    }

    bool readDrumWord() {
        std::size_t start = pos_;
        while (std::isalpha(static_cast<unsigned char>(peek())))
            ++pos_;
        std::string_view word = text_.substr(start, pos_ - start);
        if (word == "o") return fail("drum tracks have no octaves");
        if (word.size() == 1) return readValueCommand(word[0]);
        int key = drumKey(word);
        if (key < 0) {
            return fail("unknown drum '" + std::string(word) + "'; drums are: " + drumNameList());
        }
        push(TokenKind::Drum, key);
        return readLength(out_.back().length);
    }

    bool readPhraseName() {
        std::size_t start = pos_;
        while (std::isalnum(static_cast<unsigned char>(peek())) || peek() == '_')
            ++pos_;
        if (pos_ == start) return fail("'$' needs a phrase name");
        push(TokenKind::PhraseRef);
        out_.back().name = std::string(text_.substr(start, pos_ - start));
        return true;
    }

    bool readToken() {
        char c = peek();
        if (drumTrack_ && std::isalpha(static_cast<unsigned char>(c))) return readDrumWord();
        ++pos_;
        if (!drumTrack_ && c >= 'a' && c <= 'g') return readNote(c);
        switch (c) {
        case '>':
        case '<':
            if (drumTrack_) return fail("drum tracks have no octaves");
            push(c == '>' ? TokenKind::OctaveUp : TokenKind::OctaveDown);
            return true;
        case '&':
            push(TokenKind::Tie);
            return true;
        case '{':
            push(TokenKind::ChordOpen);
            return true;
        case '}':
            push(TokenKind::ChordClose);
            return readLength(out_.back().length);
        case '[':
            push(TokenKind::RepeatOpen);
            return true;
        case ']': {
            int count = 2;
            if (std::isdigit(static_cast<unsigned char>(peek()))) {
                if (!readBounded("repeat ']'", 1, 99, count)) return false;
            }
            push(TokenKind::RepeatClose, count);
            return true;
        }
        case '/':
            push(TokenKind::Volta);
            return true;
        case '|':
            push(TokenKind::BarLine);
            return true;
        case '$':
            return readPhraseName();
        default:
            if (std::isalpha(static_cast<unsigned char>(c))) return readValueCommand(c);
            return fail(std::string("unexpected character '") + c + "'");
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_;
    bool drumTrack_;
    Diagnostics& diagnostics_;
    std::vector<Token>& out_;
};

} // namespace

std::vector<Token> tokenizeNotes(const std::vector<SourceLine>& lines, bool drumTrack,
                                 Diagnostics& diagnostics) {
    std::vector<Token> tokens;
    for (const SourceLine& line : lines) {
        NoteLexer(line, drumTrack, diagnostics, tokens).run();
    }
    return tokens;
}

} // namespace music
