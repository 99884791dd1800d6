#include "stage_canvas.h"

#include "canvas_drawing.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

StageCanvas::StageCanvas(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(CANVAS_WIDTH, CANVAS_HEIGHT);
}

void StageCanvas::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void StageCanvas::setZoom(int zoom) {
    zoom_ = std::clamp(zoom, 1, 3);
    setFixedSize(CANVAS_WIDTH * zoom_, CANVAS_HEIGHT * zoom_);
    update();
}

void StageCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.drawImage(QRect(0, 0, picture_.width() * zoom_, picture_.height() * zoom_), picture_);
}

QPoint StageCanvas::canvasPixel(const QMouseEvent* event) const {
    // Pixels left of or above the canvas stay negative while a button holds
    // the mouse.
    const QPointF at = event->position() / zoom_;
    return {int(std::floor(at.x())), int(std::floor(at.y()))};
}

void StageCanvas::mousePressEvent(QMouseEvent* event) {
    emit mouseDown(canvasPixel(event), event->button(), event->modifiers());
}

void StageCanvas::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMove(canvasPixel(event), event->buttons(), event->modifiers());
}

void StageCanvas::mouseReleaseEvent(QMouseEvent* event) {
    emit mouseUp(canvasPixel(event), event->button());
}
