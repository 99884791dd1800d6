// The stage properties dialog: per slot the music and the background, for
// the whole file the comment, author, clear message, starting lives and
// difficulty, and a preview of the music. The values go into the stage set
// when stored, and only those the designer changed: a text the fields
// cannot show as it is (too long, bytes that are no character) stays as the
// file has it unless it is edited.
#pragma once

#include <QDialog>

#include <functional>

class StageDocument;
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
    TStageProp(StageDocument& document, std::function<void(int slot)> goToSlot, QWidget* parent);

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
    void showSlot(int slot);

    StageDocument& document_;
    std::function<void(int)> goToSlot_;
    int shownSlot_ = -1;
    bool playing_ = false;
    // What the fields showed when filled or last stored: a field that still
    // shows it is left out of storing.
    struct Shown {
        QString music;
        int background = 0;
        QString comment;
        QString author;
        QString clearMessage;
        int lives = 0;
        int difficulty = 0;
    } shown_;

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
