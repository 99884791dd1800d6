// Message boxes and file dialogs, reached through one object that tests
// replace: a modal dialog would block a test that runs without a screen.
#pragma once

#include <QString>

class QWidget;

class Dialogs {
  public:
    enum class Answer { Yes, No, Cancel, Ok };
    enum class Icon { None, Question, Warning, Error };
    // YesNoDefaultNo: Enter answers No, for a question whose Yes loses data.
    enum class Buttons { Ok, YesNo, YesNoCancel, YesNoDefaultNo };

    virtual ~Dialogs() = default;
    virtual Answer messageBox(QWidget* parent, const QString& text, const QString& caption,
                              Buttons buttons, Icon icon) = 0;
    // The chosen file, or an empty text when the dialog was cancelled.
    virtual QString openFileName(QWidget* parent, const QString& folder, const QString& file,
                                 const QString& filter) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& folder, const QString& filter) = 0;
};

// The dialogs of this run: Qt's own, unless a test put others in their place.
Dialogs& dialogs();
void setDialogs(Dialogs* replacement); // nullptr: Qt's own again
