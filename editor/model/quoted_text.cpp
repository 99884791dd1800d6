#include "quoted_text.h"

#include "cp932.h"

QString quotedForMessage(const QByteArray& bytes) {
    // No character takes more than two bytes: this is enough to show, and a
    // line of megabytes is never converted whole.
    const qsizetype taken = QUOTED_CHARACTERS * 2 + 2;
    QString text = fromCp932(bytes.left(taken));
    const bool longer = bytes.size() > taken || text.size() > QUOTED_CHARACTERS;
    text.truncate(QUOTED_CHARACTERS);
    for (QChar& c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) c = '?';
    return longer ? text + "..." : text;
}
