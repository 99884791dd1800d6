#include "explanations.h"

#include "cp932.h"
#include "editor_paths.h"
#include "profile_file.h"

namespace {

constexpr int VALUE_BUFFER = 1024;

QString& explanationLanguage() {
    static QString language = "ja";
    return language;
}

// Read afresh for each status line, as a profile read is.
QString explanation(const char* section, int kind) {
    const QByteArray key = QByteArray::number(kind);
    std::optional<QByteArray> text;
    if (const QString translated = explanationFileOf(explanationLanguage());
        !translated.isEmpty()) {
        const ProfileFile file = ProfileFile::read(editorPath(translated));
        if (file.value(section, key)) text = file.value(section, key, {}, VALUE_BUFFER);
    }
    if (!text) {
        const ProfileFile file = ProfileFile::read(editorPath("exp.dat"));
        text = file.value(section, key, "(No comment)", VALUE_BUFFER);
    }
    return QString::number(kind) + ":" + fromCp932(*text);
}

} // namespace

QString objectExplanation(int kind) {
    return explanation("MAPCHIP", kind);
}

QString enemyExplanation(int kind) {
    return explanation("ENEMY", kind);
}

void setExplanationLanguage(const QString& language) {
    explanationLanguage() = language;
}

QString explanationFileOf(const QString& language) {
    if (language.isEmpty() || language == "ja") return {};
    return "exp_" + language + ".dat";
}
