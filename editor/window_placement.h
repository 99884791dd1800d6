// Where the editor's windows open.
#pragma once

class QWidget;

// The window's frame in the middle of its screen's free area.
void centreOnScreen(QWidget* window);
// The tool window against the main window's right edge, at the same top.
void placeBeside(QWidget* tool, const QWidget* main);
