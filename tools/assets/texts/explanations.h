// The editor's explanation file: one text per object kind and per enemy kind,
// shown in the object selector's status line.
//
// Source (UTF-8): a profile file with the sections [MAPCHIP] and [ENEMY] and
// lines "kind=text". A key may also name a range of kinds, "64-79=text", which
// stands for one key per kind in the written file. Lines starting with ';' are
// comments and are not written.
#pragma once

#include <string>
#include <vector>

struct ExplanationEntry {
    int firstKind = 0;
    int lastKind = 0;   // equal to firstKind for a single key
    std::string text;   // UTF-8
    int line = 0;       // source line, for messages
    int textColumn = 0; // 1-based column of the text in that line
};

struct ExplanationSection {
    std::string name; // "MAPCHIP" or "ENEMY"
    std::vector<ExplanationEntry> entries;
};

struct ExplanationSet {
    std::vector<ExplanationSection> sections;
    const ExplanationSection* find(const std::string& name) const;
};

// Reads the source text. Every problem is appended to errors as
// "<sourceName>:<line>: <message>"; the set is usable only when none was added.
ExplanationSet parseExplanations(const std::string& source, const std::string& sourceName,
                                 std::vector<std::string>& errors);

// The profile file the editor reads: Shift-JIS (code page 932), CRLF line
// ends, one key per kind without leading zeros. Characters that code page 932
// cannot hold and values longer than the editor's 1023-byte read are reported
// in errors with their source line.
std::string writeExplanationFile(const ExplanationSet& set, const std::string& sourceName,
                                 std::vector<std::string>& errors);
