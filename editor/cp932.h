// The editor's Shift-JIS (Windows code page 932) conversion: stage files and
// definition files hold their texts in it, Qt shows UTF-16.
#pragma once

#include <QByteArray>
#include <QString>

// Bytes that are no CP932 character become private-use characters that
// toCp932 turns back into the same bytes, so that no byte of a file is lost
// by opening and saving it.
QString fromCp932(const QByteArray& bytes);
QByteArray toCp932(const QString& text);
