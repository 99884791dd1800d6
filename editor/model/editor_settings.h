// What the editor remembers from one run to the next: the language of its
// texts. A game folder of the player's own keeps it beside the editor
// ("editor/VeltaEdit.ini"); an installed editor, or one whose game folder
// cannot be written, keeps it in the player's configuration folder
// ($XDG_CONFIG_HOME/velta/VeltaEdit.ini), as the game keeps its config.ini.
#pragma once

#include <QString>

QString editorSettingsPath();

// The language chosen last, as it was written; empty when none was.
QString rememberedLanguage();
// False, with the reason, when the settings file cannot be written.
bool rememberLanguage(const QString& language, QString& problem);
