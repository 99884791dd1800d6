#include "stages/legend_choice.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>

namespace stages {

namespace {

// Ground, and the character most rows of a map are made of: never reused.
constexpr char GROUND = '#';

bool isDefault(const KindKey& kind) {
    for (const auto& [c, cell] : defaultLegend())
        if (cell.enemy == kind.first && cell.kind == kind.second) return true;
    return false;
}

// Enemies read best as letters, like the default a..n; objects as the
// punctuation that most blocks are drawn with. Characters not named here
// come last.
constexpr std::string_view OBJECT_PREFERENCE = "()/\\_~;,'\"`0234569NWswx";
constexpr std::string_view ENEMY_PREFERENCE = "swxNW0234569()/\\_~;,'\"`";

std::string ranked(std::string characters, bool enemy) {
    const std::string_view order = enemy ? ENEMY_PREFERENCE : OBJECT_PREFERENCE;
    std::stable_sort(characters.begin(), characters.end(),
                     [order](char a, char b) { return order.find(a) < order.find(b); });
    return characters;
}

// The characters a legend may define that the defaults leave free.
std::string freeCharacters() {
    std::string free;
    for (char c = '!'; c < 0x7F; ++c) {
        std::string problem;
        Legend probe;
        const std::string entry = std::string(1, c) + "=1";
        if (!defaultLegend().count(c) && parseLegendEntries(entry, probe, problem)) free += c;
    }
    return free;
}

// Gives each kind the first character of its role's ranking that is still
// free; false when they run out.
bool assign(const std::vector<KindKey>& kinds, const std::string& objectRanking,
            const std::string& enemyRanking, Legend& entries) {
    for (const KindKey& kind : kinds) {
        const std::string& ranking = kind.first ? enemyRanking : objectRanking;
        const auto unused = std::find_if(ranking.begin(), ranking.end(),
                                         [&entries](char c) { return !entries.count(c); });
        if (unused == ranking.end()) return false;
        entries[*unused] = LegendCell{kind.first, kind.second};
    }
    return true;
}

std::vector<KindKey> withoutDefaults(const KindSet& kinds) {
    std::vector<KindKey> own;
    std::copy_if(kinds.begin(), kinds.end(), std::back_inserter(own),
                 [](const KindKey& kind) { return !isDefault(kind); });
    return own;
}

// The free characters first, then the defaults of kinds the stage lacks.
bool assignForStage(const KindSet& kinds, const std::string& free, Legend& entries) {
    std::string spare;
    for (const auto& [c, cell] : defaultLegend())
        if (c != GROUND && !kinds.count(KindKey(cell.enemy, cell.kind))) spare += c;
    return assign(withoutDefaults(kinds), ranked(free, false) + ranked(spare, false),
                  ranked(free, true) + ranked(spare, true), entries);
}

} // namespace

std::optional<LegendChoice> chooseLegends(const std::vector<KindSet>& stageKinds,
                                          std::size_t& failedStage) {
    const std::string free = freeCharacters();
    LegendChoice choice;
    choice.stages.resize(stageKinds.size());

    KindSet all;
    for (const KindSet& kinds : stageKinds)
        all.insert(kinds.begin(), kinds.end());
    if (assign(withoutDefaults(all), ranked(free, false), ranked(free, true), choice.file))
        return choice;

    choice.file.clear();
    for (std::size_t i = 0; i < stageKinds.size(); ++i) {
        if (!assignForStage(stageKinds[i], free, choice.stages[i])) {
            failedStage = i;
            return std::nullopt;
        }
    }
    return choice;
}

char characterFor(const KindKey& kind, const Legend& file, const Legend& stage) {
    const LegendCell wanted{kind.first, kind.second};
    for (const Legend* entries : {&stage, &file, &defaultLegend()})
        for (const auto& [c, cell] : *entries)
            if (cell == wanted) return c;
    return 0;
}

} // namespace stages
