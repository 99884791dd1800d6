#include "smf_writer.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace music {
namespace {

enum class EventOrder { Setup = 0, NoteOff = 1, NoteOn = 2, EndOfTrack = 3 };

struct Event {
    std::uint32_t tick;
    EventOrder order;
    std::vector<std::uint8_t> bytes; // status byte first
};

void putBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void putVariableLength(std::vector<std::uint8_t>& out, std::uint32_t value) {
    std::uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = value & 0x7F;
        value >>= 7;
    } while (value != 0);
    while (count > 1)
        out.push_back(groups[--count] | 0x80);
    out.push_back(groups[0]);
}

Event metaEvent(std::uint32_t tick, std::uint8_t type, const std::vector<std::uint8_t>& data) {
    Event event{tick, EventOrder::Setup, {0xFF, type}};
    putVariableLength(event.bytes, static_cast<std::uint32_t>(data.size()));
    event.bytes.insert(event.bytes.end(), data.begin(), data.end());
    return event;
}

Event textEvent(std::uint32_t tick, std::uint8_t type, const std::string& text) {
    return metaEvent(tick, type, std::vector<std::uint8_t>(text.begin(), text.end()));
}

Event controlEvent(int channel, int controller, int value) {
    return Event{0,
                 EventOrder::Setup,
                 {static_cast<std::uint8_t>(0xB0 | (channel - 1)),
                  static_cast<std::uint8_t>(controller), static_cast<std::uint8_t>(value)}};
}

// Events in time order, note-offs before note-ons of the same tick so a
// repeated key sounds again. Channel messages use running status; a meta
// event cancels it, as the file format requires.
std::vector<std::uint8_t> trackChunk(std::vector<Event> events, std::uint32_t length) {
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    events.push_back(metaEvent(length, 0x2F, {}));
    std::vector<std::uint8_t> body;
    std::uint32_t previousTick = 0;
    std::uint8_t runningStatus = 0;
    for (const Event& event : events) {
        putVariableLength(body, event.tick - previousTick);
        previousTick = event.tick;
        std::uint8_t status = event.bytes.front();
        bool channelMessage = status < 0xF0;
        std::size_t skip = channelMessage && status == runningStatus ? 1 : 0;
        body.insert(body.end(), event.bytes.begin() + skip, event.bytes.end());
        runningStatus = channelMessage ? status : 0;
    }
    std::vector<std::uint8_t> chunk{'M', 'T', 'r', 'k'};
    putBigEndian(chunk, static_cast<std::uint32_t>(body.size()), 4);
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
}

std::vector<Event> conductorEvents(const Tune& tune) {
    std::vector<Event> events;
    if (!tune.title.empty()) events.push_back(textEvent(0, 0x03, tune.title));
    std::uint8_t unitPower = 0;
    while ((1 << unitPower) < tune.beatUnit)
        ++unitPower;
    events.push_back(
        metaEvent(0, 0x58, {static_cast<std::uint8_t>(tune.beatsPerBar), unitPower, 24, 8}));
    for (const TempoChange& change : tune.tempos) {
        auto microseconds =
            static_cast<std::uint32_t>(std::lround(60000000.0 / change.beatsPerMinute));
        std::vector<std::uint8_t> data;
        putBigEndian(data, microseconds, 3);
        events.push_back(metaEvent(change.tick, 0x51, data));
    }
    if (tune.loops) {
        events.push_back(textEvent(0, 0x06, "loopStart"));
        events.push_back(textEvent(tune.length, 0x06, "loopEnd"));
    }
    return events;
}

std::vector<Event> voiceEvents(const Track& track) {
    std::vector<Event> events;
    events.push_back(textEvent(0, 0x03, track.name));
    std::uint8_t channel = static_cast<std::uint8_t>(track.channel - 1);
    // Reset first so that every pass of a loop starts from the same state.
    events.push_back(controlEvent(track.channel, 121, 0));
    events.push_back(Event{
        0,
        EventOrder::Setup,
        {static_cast<std::uint8_t>(0xC0 | channel), static_cast<std::uint8_t>(track.program - 1)}});
    events.push_back(controlEvent(track.channel, 7, track.volume));
    events.push_back(controlEvent(track.channel, 10, track.pan));
    events.push_back(controlEvent(track.channel, 91, track.reverb));
    events.push_back(controlEvent(track.channel, 93, track.chorus));
    for (const Note& note : track.notes) {
        auto key = static_cast<std::uint8_t>(note.key);
        events.push_back(Event{note.start,
                               EventOrder::NoteOn,
                               {static_cast<std::uint8_t>(0x90 | channel), key,
                                static_cast<std::uint8_t>(note.velocity)}});
        // A note-on with velocity 0 ends the note and keeps running status going.
        events.push_back(Event{note.start + note.duration,
                               EventOrder::NoteOff,
                               {static_cast<std::uint8_t>(0x90 | channel), key, 0}});
    }
    return events;
}

} // namespace

std::vector<std::uint8_t> writeStandardMidi(const Tune& tune) {
    std::vector<std::uint8_t> file{'M', 'T', 'h', 'd'};
    putBigEndian(file, 6, 4);
    putBigEndian(file, 1, 2);
    putBigEndian(file, static_cast<std::uint32_t>(tune.tracks.size() + 1), 2);
    putBigEndian(file, ticksPerQuarter, 2);
    std::vector<std::uint8_t> conductor = trackChunk(conductorEvents(tune), tune.length);
    file.insert(file.end(), conductor.begin(), conductor.end());
    for (const Track& track : tune.tracks) {
        std::vector<std::uint8_t> chunk = trackChunk(voiceEvents(track), tune.length);
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    return file;
}

} // namespace music
