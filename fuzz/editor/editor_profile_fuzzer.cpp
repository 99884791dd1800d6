// The editor's profile reader (definition files, exp.dat) on a file's bytes:
// the keys the editor asks for and the sections and keys the file names.
// The text also goes through the editor's Shift-JIS conversion and back, as
// an edited text is saved, which must give the same characters.
#include "cp932.h"
#include "profile_file.h"
#include "support/editor_session.h"
#include "support/scratch_folder.h"

#include <QByteArray>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

constexpr size_t LARGEST_INPUT = 16 * 1024;
constexpr size_t MAX_LOOKUPS = 40;
constexpr int BUFFER_SIZES[] = {0, 1, 2, 256, 1024};

using Lookup = std::pair<QByteArray, QByteArray>;

// The keys the file itself holds, as the reader found them, so that lookups
// reach its values; every other one asked in small letters, as sections and
// keys match in any case.
std::vector<Lookup> lookupsIn(const ProfileFile& file) {
    std::vector<Lookup> lookups = {{"GENERAL", "NAME"}, {"GENERAL", "SIZE"}, {"GENERAL", "YASE"},
                                   {"PAT", "00"},       {"LINE", "00"},      {"MAPCHIP", "1"},
                                   {"ENEMY", "0"}};
    for (const auto& [section, key] : file.keys()) {
        if (lookups.size() >= MAX_LOOKUPS) break;
        if (lookups.size() % 2 == 0)
            lookups.emplace_back(section, key);
        else
            lookups.emplace_back(section.toLower(), key.toLower());
    }
    return lookups;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > LARGEST_INPUT) return 0;
    fuzz::startEditorApplication();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const ProfileFile file = ProfileFile::fromBytes(bytes);
    for (const auto& [section, key] : lookupsIn(file)) {
        file.value(section, key);
        for (int bufferSize : BUFFER_SIZES)
            file.value(section, key, "(none)", bufferSize);
    }
    // A text read from these bytes and written again as an edited text is,
    // character for character, the same text. Bytes that are no character
    // are kept apart from it: such a byte written before another character
    // can make one character with it, which no conversion can avoid.
    const QString text = fromCp932(bytes);
    const bool allCharacters = std::none_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() >= 0xF700 && c.unicode() <= 0xF7FF;
    });
    Cp932Forms forms;
    collectCp932Forms(bytes, forms);
    if (allCharacters && fromCp932(toCp932(text, forms)) != text) {
        std::fprintf(stderr, "the text changes through the Shift-JIS conversion and back\n");
        std::abort();
    }
    return 0;
}
