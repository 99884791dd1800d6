#include "drum_names.h"

#include <array>
#include <utility>

namespace music {
namespace {

struct DrumName {
    std::string_view name;
    int key;
};

constexpr std::array drumNames{
    DrumName{"kick", 36},      DrumName{"deepkick", 35},     DrumName{"sidestick", 37},
    DrumName{"snare", 38},     DrumName{"clap", 39},         DrumName{"tightsnare", 40},
    DrumName{"floortom", 41},  DrumName{"hihat", 42},        DrumName{"lowtom", 45},
    DrumName{"pedalhat", 44},  DrumName{"midtom", 47},       DrumName{"openhat", 46},
    DrumName{"hightom", 50},   DrumName{"crash", 49},        DrumName{"ride", 51},
    DrumName{"china", 52},     DrumName{"ridebell", 53},     DrumName{"tambourine", 54},
    DrumName{"splash", 55},    DrumName{"cowbell", 56},      DrumName{"crashb", 57},
    DrumName{"highbongo", 60}, DrumName{"lowbongo", 61},     DrumName{"highconga", 63},
    DrumName{"lowconga", 64},  DrumName{"cabasa", 69},       DrumName{"shaker", 70},
    DrumName{"claves", 75},    DrumName{"woodblock", 76},    DrumName{"lowwoodblock", 77},
    DrumName{"triangle", 81},  DrumName{"mutetriangle", 80},
};

} // namespace

int drumKey(std::string_view name) {
    for (const DrumName& drum : drumNames) {
        if (drum.name == name) return drum.key;
    }
    return -1;
}

const char* drumNameList() {
    return "kick deepkick sidestick snare clap tightsnare floortom lowtom midtom hightom hihat "
           "pedalhat "
           "openhat crash crashb splash china ride ridebell tambourine cowbell highbongo lowbongo "
           "highconga lowconga cabasa shaker claves woodblock lowwoodblock triangle mutetriangle";
}

} // namespace music
