// Message boxes and file dialogs answered by the test: each box is recorded,
// and answers and chosen files are taken from queues in order.
#pragma once

#include "dialogs.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

struct ShownBox {
    QString text;
    QString caption;
    Dialogs::Buttons buttons;
    Dialogs::Icon icon;
};

class ScriptedDialogs : public Dialogs {
  public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    Answer messageBox(QWidget* parent, const QString& text, const QString& caption, Buttons buttons,
                      Icon icon) override;
    QString openFileName(QWidget* parent, const QString& folder, const QString& file,
                         const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& folder, const QString& filter) override;

    // What the next boxes answer; Cancel (or Ok) once the queue is empty.
    std::deque<Answer> answers;
    // What the next file dialogs return; an empty name is a cancelled dialog.
    std::deque<QString> chosenFiles;

    std::vector<ShownBox> boxes;
    QStringList openDialogFolders;
    QStringList openDialogFiles;
    QStringList saveDialogFolders;
    int fileDialogs = 0;
};
