// The editor's Shift-JIS (Windows code page 932) conversion: stage files and
// definition files hold their texts in it, Qt shows UTF-16.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// Bytes that are no CP932 character become private-use characters that
// toCp932 turns back into the same bytes, so that no byte of a file is lost
// by opening and saving it.
QString fromCp932(const QByteArray& bytes);
QByteArray toCp932(const QString& text);

// Characters that CP932 has two codes for (the NEC and IBM duplicates), each
// with the code a file first wrote it in.
using Cp932Forms = QHash<QChar, QByteArray>;

// Adds the characters of bytes met in a row of second codes to forms, each
// with the code it was first met in; a character already there keeps its
// form.
void collectCp932Forms(const QByteArray& bytes, Cp932Forms& forms);
// As toCp932, but a character in forms is written in its form.
QByteArray toCp932(const QString& text, const Cp932Forms& forms);
