#include "platform/midi_file_check.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace {

constexpr size_t HEADER_BYTES = 14;
constexpr size_t CHUNK_HEADER_BYTES = 8;
constexpr uint32_t HEADER_LENGTH = 6;
constexpr unsigned MAX_FORMAT = 2;
// The player takes the count's high byte as if it stood 16 bits up; no tune
// has that many tracks, so such a count is refused rather than misread.
constexpr unsigned MAX_TRACKS = 255;
constexpr unsigned SMPTE_DIVISION = 0x8000;

constexpr uint8_t META_EVENT = 0xFF;
constexpr uint8_t SYSTEM_EXCLUSIVE = 0xF0;
constexpr uint8_t META_END_OF_TRACK = 0x2F;
constexpr uint8_t META_TEMPO = 0x51;

uint32_t bigEndian(std::string_view bytes, size_t at, size_t count) {
    uint32_t value = 0;
    for (size_t i = 0; i < count; ++i)
        value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

// The data length the player insists on for a meta event, or -1 for any.
int requiredMetaLength(uint8_t type) {
    switch (type) {
    case META_END_OF_TRACK:
        return 0;
    case META_TEMPO:
        return 3;
    case 0x54: // SMPTE offset
        return 5;
    case 0x58: // time signature
        return 4;
    case 0x59: // key signature
        return 2;
    default:
        return -1;
    }
}

class TrackReader {
  public:
    explicit TrackReader(std::string_view track) : track_(track) {}

    // The tick of the track's last event that the player keeps in time (a
    // channel message, a tempo change, the end of the track), or nothing
    // when an event does not read in full within the chunk.
    std::optional<uint64_t> timedLength() {
        uint64_t tick = 0;
        uint64_t lastTimed = 0;
        uint8_t runningStatus = 0;
        while (position_ < track_.size()) {
            uint32_t delta = 0;
            uint8_t status = 0;
            if (!readVariableLength(delta) || !readByte(status)) return std::nullopt;
            tick += delta;
            if (status < 0x80) {
                // A data byte: the running status applies, and the byte is
                // the message's first data byte.
                if (runningStatus == 0) return std::nullopt;
                status = runningStatus;
                --position_;
            }
            if (status == META_EVENT) {
                runningStatus = 0;
                uint8_t type = 0;
                uint32_t length = 0;
                if (!readByte(type) || !readVariableLength(length)) return std::nullopt;
                const int required = requiredMetaLength(type);
                if (required >= 0 && length != uint32_t(required)) return std::nullopt;
                if (length > track_.size() - position_) return std::nullopt;
                if (type == META_TEMPO && bigEndian(track_, position_, 3) == 0) return std::nullopt;
                position_ += length;
                if (type == META_TEMPO || type == META_END_OF_TRACK) lastTimed = tick;
                if (type == META_END_OF_TRACK) break;
            } else if (status == SYSTEM_EXCLUSIVE) {
                runningStatus = 0;
                uint32_t length = 0;
                if (!readVariableLength(length) || length > track_.size() - position_)
                    return std::nullopt;
                position_ += length;
            } else if (status > SYSTEM_EXCLUSIVE) {
                return std::nullopt; // no event of a file, and the player refuses it
            } else {
                const uint8_t kind = status & 0xF0;
                const size_t dataBytes = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
                if (dataBytes > track_.size() - position_) return std::nullopt;
                position_ += dataBytes;
                runningStatus = status;
                lastTimed = tick;
            }
        }
        return lastTimed;
    }

  private:
    bool readByte(uint8_t& value) {
        if (position_ >= track_.size()) return false;
        value = static_cast<uint8_t>(track_[position_++]);
        return true;
    }

    // At most four bytes, as the format allows.
    bool readVariableLength(uint32_t& value) {
        value = 0;
        for (int i = 0; i < 4; ++i) {
            uint8_t byte = 0;
            if (!readByte(byte)) return false;
            value = (value << 7) | (byte & 0x7F);
            if ((byte & 0x80) == 0) return true;
        }
        return false;
    }

    std::string_view track_;
    size_t position_ = 0;
};

bool printableChunkName(std::string_view name) {
    return std::all_of(name.begin(), name.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

} // namespace

bool midiFileLoopable(std::string_view bytes) {
    if (bytes.size() < HEADER_BYTES || bytes.substr(0, 4) != "MThd" ||
        bigEndian(bytes, 4, 4) != HEADER_LENGTH)
        return false;
    const uint32_t format = bigEndian(bytes, 8, 2);
    const uint32_t tracks = bigEndian(bytes, 10, 2);
    const uint32_t division = bigEndian(bytes, 12, 2);
    if (format > MAX_FORMAT || tracks == 0 || tracks > MAX_TRACKS ||
        (division & SMPTE_DIVISION) != 0 || division == 0)
        return false;

    size_t position = HEADER_BYTES;
    uint32_t found = 0;
    uint64_t longest = 0;
    while (found < tracks) {
        if (bytes.size() - position < CHUNK_HEADER_BYTES) return false;
        const std::string_view name = bytes.substr(position, 4);
        const uint32_t length = bigEndian(bytes, position + 4, 4);
        position += CHUNK_HEADER_BYTES;
        if (length > bytes.size() - position) return false;
        if (name == "MTrk") {
            const std::optional<uint64_t> ticks =
                TrackReader(bytes.substr(position, length)).timedLength();
            if (!ticks) return false;
            longest = std::max(longest, *ticks);
            ++found;
        } else if (!printableChunkName(name)) {
            return false;
        }
        position += length;
    }
    return longest > 0;
}
