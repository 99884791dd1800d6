#include "scripted_dialogs.h"

ScriptedDialogs::ScriptedDialogs() {
    setDialogs(this);
}

ScriptedDialogs::~ScriptedDialogs() {
    setDialogs(nullptr);
}

Dialogs::Answer ScriptedDialogs::messageBox(QWidget*, const QString& text, const QString& caption,
                                            Buttons buttons, Icon icon) {
    boxes.push_back({text, caption, buttons, icon});
    if (answers.empty()) return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

QString ScriptedDialogs::openFileName(QWidget*, const QString& folder, const QString& file,
                                      const QString&) {
    ++fileDialogs;
    openDialogFolders << folder;
    openDialogFiles << file;
    if (chosenFiles.empty()) return {};
    const QString chosen = chosenFiles.front();
    chosenFiles.pop_front();
    return chosen;
}

QString ScriptedDialogs::saveFileName(QWidget*, const QString& folder, const QString&) {
    ++fileDialogs;
    saveDialogFolders << folder;
    if (chosenFiles.empty()) return {};
    const QString chosen = chosenFiles.front();
    chosenFiles.pop_front();
    return chosen;
}
