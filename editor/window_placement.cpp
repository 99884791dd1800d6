#include "window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void centreOnScreen(QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void placeBeside(QWidget* tool, const QWidget* main) {
    const QRect frame = main->frameGeometry();
    tool->move(frame.right() + 1, frame.top());
}
