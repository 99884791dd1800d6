#include "help_page.h"

#include <map>

namespace {

constexpr const char* kMarkerStart = "<!--@";
constexpr const char* kMarkerEnd = "-->";

int lineOf(const std::string& text, std::size_t offset) {
    int line = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i)
        if (text[i] == '\n') ++line;
    return line;
}

std::string kindLabel(const ExplanationEntry& entry) {
    if (entry.firstKind == entry.lastKind) return std::to_string(entry.firstKind);
    return std::to_string(entry.firstKind) + "-" + std::to_string(entry.lastKind);
}

std::string kindTable(const ExplanationSection& section, const std::string& kindHeading) {
    std::string table = "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n"
                        "<tr><th>" +
                        kindHeading + "</th><th>説明</th></tr>\n";
    for (const auto& entry : section.entries)
        table += "<tr><td align=\"right\">" + kindLabel(entry) + "</td><td>" +
                 escapeHtml(entry.text) + "</td></tr>\n";
    table += "</table>";
    return table;
}

} // namespace

std::string escapeHtml(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string expandHelpPage(const std::string& page, const ExplanationSet& explanations,
                           const std::string& pageName, std::vector<std::string>& errors) {
    const std::map<std::string, std::string> headings = {{"MAPCHIP", "番号"},
                                                         {"ENEMY", "敵の番号"}};
    std::map<std::string, int> found;
    std::string out;
    std::size_t pos = 0;
    while (true) {
        const auto start = page.find(kMarkerStart, pos);
        if (start == std::string::npos) break;
        const auto nameStart = start + std::string(kMarkerStart).size();
        const auto end = page.find(kMarkerEnd, nameStart);
        if (end == std::string::npos) {
            errors.push_back(pageName + ":" + std::to_string(lineOf(page, start)) +
                             ": unclosed table marker");
            break;
        }
        out.append(page, pos, start - pos);
        const std::string name = page.substr(nameStart, end - nameStart);
        const auto heading = headings.find(name);
        const ExplanationSection* section = explanations.find(name);
        ++found[name];
        if (heading == headings.end()) {
            errors.push_back(pageName + ":" + std::to_string(lineOf(page, start)) +
                             ": unknown table marker '" + name + "'");
        } else if (!section) {
            errors.push_back(pageName + ":" + std::to_string(lineOf(page, start)) + ": no [" +
                             name + "] explanations to fill the table with");
        } else {
            out += kindTable(*section, heading->second);
        }
        pos = end + std::string(kMarkerEnd).size();
    }
    out.append(page, pos, std::string::npos);
    for (const auto& [name, heading] : headings)
        if (found[name] == 0) errors.push_back(pageName + ": no <!--@" + name + "--> table marker");
    if (page.find(kHelpContentsAnchor) == std::string::npos)
        errors.push_back(pageName + ": the contents section lacks " +
                         std::string(kHelpContentsAnchor));
    return out;
}
