#include "editor_language.h"

#include "editor_paths.h"
#include "explanations.h"

#include <QCoreApplication>
#include <QTranslator>

#include <optional>

namespace {

constexpr const char* OPTION = "--lang";

QTranslator& translator() {
    static QTranslator translator;
    return translator;
}

QString languageName(const QString& language) {
    return language == "en" ? "English" : "Japanese";
}

} // namespace

QStringList knownLanguages() {
    return {"en", "ja"};
}

LanguageChoice chooseLanguage(const QStringList& arguments, const QString& remembered) {
    LanguageChoice choice;
    // A settings file edited by hand may hold anything: only a known code counts.
    choice.language = knownLanguages().contains(remembered) ? remembered : DEFAULT_LANGUAGE;
    std::optional<QString> given;
    QStringList wrong;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString value;
        if (arguments[i] == OPTION) {
            if (i + 1 == arguments.size()) {
                wrong << QString("%1 needs a language").arg(OPTION);
                continue;
            }
            value = arguments[++i];
        } else if (arguments[i].startsWith(QString(OPTION) + "=")) {
            value = arguments[i].mid(QString(OPTION).size() + 1);
        } else {
            continue;
        }
        const QString code = value.trimmed().toLower();
        if (knownLanguages().contains(code))
            given = code;
        else
            wrong << QString("%1 \"%2\" is not a language of the editor").arg(OPTION, value);
    }
    if (given) {
        choice.language = *given;
        choice.chosenNow = true;
    }
    if (!wrong.isEmpty())
        choice.problem = QString("%1 (%2: %3); the texts are in %4")
                             .arg(wrong.join("; "), OPTION, knownLanguages().join(" or "),
                                  languageName(choice.language));
    return choice;
}

QString translationPath(const QString& language) {
    if (language == DEFAULT_LANGUAGE) return {};
    return editorPath("VeltaEdit_" + language + ".qm");
}

bool useLanguage(const QString& language, QString& problem) {
    QCoreApplication::removeTranslator(&translator());
    setExplanationLanguage(DEFAULT_LANGUAGE);
    const QString path = translationPath(language);
    if (path.isEmpty()) return true;
    if (!translator().load(path)) {
        problem = "cannot load the translation " + path + "; the texts are in Japanese";
        return false;
    }
    QCoreApplication::installTranslator(&translator());
    setExplanationLanguage(language);
    return true;
}
