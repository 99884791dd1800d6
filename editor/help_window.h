// The editor's help window: the game's HTML help file, opened at a section
// named "context-<number>".
#pragma once

#include <QWidget>

class QTextBrowser;

class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    explicit HelpWindow(QWidget* parent);
    // False, after an error box, when the help file is missing.
    bool showContext(int context);

  private:
    QTextBrowser* browser_;
};
