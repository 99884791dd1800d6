// The canvas picture on the main window: shows the drawn stage at a zoom of
// 1, 2 or 3 and reports the mouse in canvas pixels, whatever the zoom.
#pragma once

#include <QImage>
#include <QWidget>

class StageCanvas : public QWidget {
    Q_OBJECT
  public:
    explicit StageCanvas(QWidget* parent);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    void setZoom(int zoom);
    int zoom() const { return zoom_; }

  signals:
    void mouseDown(QPoint pixel, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void mouseMove(QPoint pixel, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    void mouseUp(QPoint pixel, Qt::MouseButton button);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QPoint canvasPixel(const QMouseEvent* event) const;

    QImage picture_;
    int zoom_ = 1;
};
