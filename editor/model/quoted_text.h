// Bytes of a file quoted in a message box: a line of any length, or one full
// of control codes, must still give a box that fits on the screen.
#pragma once

#include <QByteArray>
#include <QString>

constexpr int QUOTED_CHARACTERS = 60;

// The text of the bytes, at most QUOTED_CHARACTERS characters with "..."
// after a longer one; control characters shown as '?'.
QString quotedForMessage(const QByteArray& bytes);
