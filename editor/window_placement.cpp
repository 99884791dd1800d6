#include "window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

void centreOnScreen(QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void placeBeside(QWidget* tool, const QWidget* main) {
    const QRect frame = main->frameGeometry();
    QPoint place(frame.right() + 1, frame.top());
    // A wide main window (a zoomed canvas) may leave no room on its right:
    // the tool goes to its left where that has room, and else overlaps it
    // rather than leaving the screen.
    if (QScreen* screen = main->screen()) {
        const QRect free = screen->availableGeometry();
        const QSize size = tool->frameGeometry().size();
        const bool roomOnTheRight = place.x() + size.width() <= free.right() + 1;
        const bool roomOnTheLeft = frame.left() - size.width() >= free.left();
        if (!roomOnTheRight && roomOnTheLeft) place.setX(frame.left() - size.width());
        place.setX(std::max(free.left(), std::min(place.x(), free.right() + 1 - size.width())));
        place.setY(std::max(free.top(), std::min(place.y(), free.bottom() + 1 - size.height())));
    }
    tool->move(place);
}
