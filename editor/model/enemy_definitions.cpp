#include "enemy_definitions.h"

#include "cp932.h"
#include "profile_file.h"
#include "quoted_text.h"

#include <QFileInfo>

namespace {

const EnemyDefinition NO_DEFINITION{};

// "a,b" split at its first comma, each part a whole number.
bool pairOf(const QByteArray& value, int& first, int& second) {
    const qsizetype comma = value.indexOf(',');
    bool firstOk = false, secondOk = false;
    first = value.left(comma < 0 ? value.size() : comma).trimmed().toInt(&firstOk);
    second = comma < 0 ? 0 : value.mid(comma + 1).trimmed().toInt(&secondOk);
    if (!firstOk) first = 0;
    if (!secondOk) second = 0;
    return firstOk && secondOk;
}

} // namespace

const EnemyDefinition& EnemyDefinitions::of(int kind) const {
    if (kind < 0 || kind >= DEFINITION_SLOTS || !entries[size_t(kind)].inUse) return NO_DEFINITION;
    return entries[size_t(kind)];
}

int EnemyDefinitions::count() const {
    int n = 0;
    while (n < DEFINITION_SLOTS && entries[size_t(n)].inUse)
        ++n;
    return n;
}

EnemyDefinitions readEnemyDefinitions(const QString& datFolder, QStringList& problems) {
    EnemyDefinitions definitions;
    for (int kind = 0; kind < DEFINITION_SLOTS; ++kind) {
        const QString path = QString("%1/e%2.dat").arg(datFolder).arg(kind, 2, 10, QChar('0'));
        if (!QFileInfo::exists(path)) break;
        const ProfileFile file = ProfileFile::read(path);
        EnemyDefinition& d = definitions.entries[size_t(kind)];
        d.name = fromCp932(file.value("GENERAL", "NAME", "FUCK!"));
        const QByteArray size = file.value("GENERAL", "SIZE", "0,0");
        const QByteArray corner = file.value("PAT", "00", "0,0");
        if (!pairOf(size, d.width, d.height))
            problems << QString("%1: SIZE \"%2\"").arg(path, quotedForMessage(size));
        if (!pairOf(corner, d.x, d.y))
            problems << QString("%1: PAT 00 \"%2\"").arg(path, quotedForMessage(corner));
        d.inUse = true;
    }
    return definitions;
}

EnemyDefinitions& enemyDefinitions() {
    static EnemyDefinitions definitions;
    return definitions;
}
