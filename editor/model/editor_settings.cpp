#include "editor_settings.h"

#include "editor_paths.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

constexpr const char* SETTINGS_NAME = "VeltaEdit.ini";
constexpr const char* LANGUAGE_KEY = "Editor/Language";

} // namespace

QString editorSettingsPath() {
    if (editorFolders().portable) return editorPath(SETTINGS_NAME);
    const QString home = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return home.isEmpty() ? QString() : QDir::cleanPath(home + "/velta/" + SETTINGS_NAME);
}

QString rememberedLanguage() {
    const QString path = editorSettingsPath();
    if (path.isEmpty() || !QFileInfo::exists(path)) return {};
    const QSettings settings(path, QSettings::IniFormat);
    return settings.value(LANGUAGE_KEY).toString();
}

bool rememberLanguage(const QString& language, QString& problem) {
    const QString path = editorSettingsPath();
    if (path.isEmpty()) {
        problem = "no configuration folder is known for the editor's settings";
        return false;
    }
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        problem = "cannot create the folder " + folder;
        return false;
    }
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(LANGUAGE_KEY, language);
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        problem = "cannot write " + path;
        return false;
    }
    return true;
}
