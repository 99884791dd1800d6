// The language of the editor's texts. Japanese is the editor's own (the texts
// in the code); English comes from a translation, "VeltaEdit_en.qm", built
// into the editor's folder. "--lang en" or "--lang ja" chooses, and the
// choice is remembered for the next start (editor_settings.h).
#pragma once

#include <QString>
#include <QStringList>

inline constexpr const char* DEFAULT_LANGUAGE = "ja";

// The codes --lang takes: "en", "ja".
QStringList knownLanguages();

struct LanguageChoice {
    QString language;       // a known code
    bool chosenNow = false; // given on this command line, so to be remembered
    QString problem;        // for the standard error output; empty when none
};

// From the program's arguments (without the program's name) and the
// language remembered from an earlier run (empty when none). "--lang X" and
// "--lang=X" choose, the last one counting; a missing or unknown value is
// reported and leaves the language as a start without it would have it.
LanguageChoice chooseLanguage(const QStringList& arguments, const QString& remembered);

// The translation file of a language, in the editor's folder; empty for
// Japanese, which needs none.
QString translationPath(const QString& language);

// Puts the language's texts in place of those of any language used before
// (Japanese takes the translation away): the forms made after this call
// show them, and so do the explanations (explanations.h). False, with the
// reason, when the translation cannot be loaded; the texts are Japanese then.
bool useLanguage(const QString& language, QString& problem);
