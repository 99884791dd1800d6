#include "explanations.h"

#include "cp932.h"
#include "editor_paths.h"
#include "profile_file.h"

namespace {

// Read afresh for each status line, as a profile read is.
QString explanation(const char* section, int kind) {
    const ProfileFile file = ProfileFile::read(editorPath("exp.dat"));
    const QByteArray text = file.value(section, QByteArray::number(kind), "(No comment)", 1024);
    return QString::number(kind) + ":" + fromCp932(text);
}

} // namespace

QString objectExplanation(int kind) {
    return explanation("MAPCHIP", kind);
}

QString enemyExplanation(int kind) {
    return explanation("ENEMY", kind);
}
