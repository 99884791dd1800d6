// The about box: the program's name, version and a word for stage makers.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class TAboutBox : public QDialog {
    Q_OBJECT
  public:
    TAboutBox(const QImage& icon, QWidget* parent);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QLabel* Comments;
    QPushButton* OKButton;
};
