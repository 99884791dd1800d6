// The object selector: the editing operation, the palette of the 256 object
// kinds, the enemy list with a preview, and a status line explaining the
// selected kind.
#pragma once

#include "canvas_editing.h"

#include <QImage>
#include <QWidget>

class QButtonGroup;
class QFrame;
class QLabel;
class QListWidget;
class QRadioButton;

// A picture that reports left-button presses in its own pixels.
class PalettePicture : public QWidget {
    Q_OBJECT
  public:
    explicit PalettePicture(QWidget* parent);
    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
  signals:
    void pressed(Qt::MouseButton button, int x, int y);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QImage picture_;
};

class TObjectSelector : public QWidget {
    Q_OBJECT
  public:
    TObjectSelector(const QImage& mapObjects, const QImage& enemies, QWidget* parent = nullptr);

    int operation() const;
    int selectedObjectKind() const;
    int selectedEnemyKind() const; // -1 with no enemy in the list
    QString statusText() const;
    const QImage& palettePicture() const { return imgMapObj->picture(); }
    const QImage& enemyPreview() const { return imgEnemyView->picture(); }
    int enemyCount() const;

    // What the canvas sets when the user picks something; the focus goes
    // back to the main window.
    void setOperation(int operation);
    void selectObjectKind(int kind);
    void selectEnemyKind(int kind);

    // The window the focus is given back to.
    void setMainWindow(QWidget* window) { mainWindow_ = window; }

  public slots:
    void rdgOperationClick();
    void imgMapObjMouseDown(Qt::MouseButton button, int x, int y);
    void lstEnemyClick();

  signals:
    // The operation or a selection changed (the canvas's cursor follows).
    void selectionChanged();
    // The window was shown or hidden (closed by its title bar's close box).
    void shownOrHidden(bool shown);

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void FormCreate();
    void redraw();
    void drawPalette();
    void drawEnemyPreview();
    void showStatus(const QString& text);
    void giveFocusBack();

    QImage mapObjects_;
    QImage enemies_;
    QWidget* mainWindow_ = nullptr;
    QFrame* Bevel1;
    QButtonGroup* rdgOperation;
    PalettePicture* imgMapObj;
    QListWidget* lstEnemy;
    PalettePicture* imgEnemyView;
    QLabel* lblStatusBar;
    QFrame* Bevel2;
    int selectedCellX_ = 0;
    int selectedCellY_ = 0;
};
