// The main window: the stage canvas, the slot list, the seek buttons and the
// menus with the file commands, Clear Stage, test play, help and about.
#pragma once

#include "canvas_drawing.h"
#include "canvas_editing.h"

#include <QMainWindow>
#include <QPoint>

#include <array>
#include <memory>

class StageDocument;
class HelpWindow;
class QAction;
class QComboBox;
class QLabel;
class QPushButton;
class StageCanvas;
class TAboutBox;
class TObjectSelector;
class TStageProp;

class TMainForm : public QMainWindow {
    Q_OBJECT
  public:
    TMainForm();
    ~TMainForm() override;

    // The other forms, created after this one.
    void attachForms(TAboutBox* about, TObjectSelector* selector, TStageProp* properties);
    const CanvasPictures& pictures() const { return pictures_; }

    // Menu commands.
    void New1Click();
    void Open1Click();
    void Save1Click();
    void SaveAs1Click();
    void Exit1Click();
    void StageEnvClick();
    void Clear1Click();
    void estPlay1Click();
    void Help2Click();
    void About1Click();
    void undoClick();
    void redoClick();
    void setZoom(int zoom);

    // The slot list and the seek buttons.
    void cmbStageChange();
    void btnSeekToStartClick();
    void btnSeekToCenterClick();
    void btnSeekToEndClick();
    // The arrow keys: a cell, or with Shift a canvas width, each way.
    void scrollCellLeft();
    void scrollCellRight();
    void scrollScreenLeft();
    void scrollScreenRight();

    // The canvas, in canvas pixels.
    void imgCanvasMouseDown(QPoint pixel, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void imgCanvasMouseMove(QPoint pixel, Qt::MouseButtons buttons,
                            Qt::KeyboardModifiers modifiers);
    void imgCanvasMouseUp(QPoint pixel, Qt::MouseButton button);

    // Go in the properties dialog: this slot becomes the current one.
    void goToSlot(int slot);
    // A second copy of the editor asked for this window.
    void comeForward();

    // False when the user cancelled, or saving failed.
    bool closeQuestion();
    bool save();

    QString fileName() const;
    bool modified() const;
    QPoint cursorCell() const { return cursor_; }
    const QImage& canvasPicture() const;
    StageDocument& document() { return *document_; }
    QComboBox* slotList() const { return cmbStage; }
    QString statusText() const;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

  private:
    void FormCreate();
    void FormShow();
    void buildMenu();
    void layOut();
    void loadPictures();
    void readDefinitions();
    void redraw();
    void rebuildSlotList();
    void selectSlot(int slot);
    Selection selection() const;
    bool moveCursorTo(QPoint pixel);
    // True when the document changed, which has drawn the canvas.
    bool applyAt(QPoint cell);
    void pick(QPoint cell);
    void endEdit();
    bool writeTo(const QString& path);
    // False when records the file cannot keep would be left out and the user
    // did not want that.
    bool leaveOutRecordsAsked();
    void updateEditActions();
    void showSlotRestored(int slot);
    void placeSelector();
    void scrollBy(int pixels);
    QSize windowSizeAt(int zoom) const;
    void offerZoomsThatFit();
    void updateStatus();
    // "VeltaEdit for Tarvelon - name", with " *" while modified.
    void updateCaption();

    CanvasPictures pictures_;
    std::unique_ptr<StageDocument> document_;
    QString openFolder_;
    QPoint cursor_{0, 0};
    bool shownOnce_ = false;
    bool testPlaying_ = false;

    TAboutBox* about_ = nullptr;
    TObjectSelector* selector_ = nullptr;
    TStageProp* properties_ = nullptr;
    HelpWindow* help_ = nullptr;

    StageCanvas* imgCanvas;
    QLabel* Label1;
    QComboBox* cmbStage;
    QPushButton* btnSeekToStart;
    QPushButton* btnSeekToCenter;
    QPushButton* btnSeekToEnd;
    QAction* undoAction_;
    QAction* redoAction_;
    QAction* selectorAction_;
    QAction* framesAction_;
    std::array<QAction*, 3> zoomActions_{};
    QLabel* statusText_;
    // The explanations shown, kept until the pointer meets another kind.
    int statusObjectKind_ = -1;
    int statusEnemyKind_ = -1;
    QString statusObject_;
    QString statusEnemy_;
};
