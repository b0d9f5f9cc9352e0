#pragma once

class QWidget;

// Draws every push button of `area` once, off screen, while `area` is hidden.
//
// A button's first paint costs two to three times its later ones: the style
// sheet works out the button's rules for its state and the font rasterizes
// the legend's glyphs at the button's size. A page of forty buttons pays
// that inside the click that first shows it. Drawn ahead of time into a
// scratch image, the rules and glyphs are ready when the page appears; the
// screen is not touched.
void warmButtonPaint(QWidget *area);
