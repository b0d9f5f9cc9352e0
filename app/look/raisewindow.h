#pragma once

class QWidget;

// Brings a top-level window to the front when another start of the program
// hands over to it. A minimised window is restored to what it was before (a
// maximised one stays maximised); the window keeps everything it holds.
void raiseWindow(QWidget *window);
