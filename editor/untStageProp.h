// The stage properties dialog: per slot the music and the background, for
// the whole file the comment, author, clear message, starting lives and
// difficulty, and a preview of the music. Nothing here marks the set
// modified; the values go into the stage set when stored.
#pragma once

#include <QDialog>

#include <functional>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class TStageProp : public QDialog {
    Q_OBJECT
  public:
    // goToSlot: what Go asks of the main window.
    TStageProp(std::function<void(int slot)> goToSlot, QWidget* parent);

    void FormShow();
    void cmbStageChange();
    void Button2Click(); // store
    void Button1Click(); // store and close
    void Button3Click(); // choose the music file
    void Button4Click(); // start or stop the preview
    void Button5Click(); // go to the shown slot
    void cmbLeftChange();
    void cmbDiffChange();
    void FormClose();

    bool playing() const { return playing_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormCreate();
    void store();
    void stopPreview();
    void limitComment();

    std::function<void(int)> goToSlot_;
    int shownSlot_ = -1;
    bool playing_ = false;

  public:
    QLineEdit* edtBgm;
    QPushButton* Button3;
    QPushButton* Button4;
    QComboBox* cmbBg;
    QComboBox* cmbStage;
    QPushButton* Button5;
    QLabel* Label9;
    QComboBox* cmbDiff;
    QComboBox* cmbLeft;
    QLineEdit* edtClearMsg;
    QLineEdit* edtAuthor;
    QPlainTextEdit* edtComment;
    QPushButton* Button2;
    QPushButton* Button1;
};
