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
//
// Labels are left alone: drawing their bold text ahead moves edge pixels of
// the keypad's outlined numbers, whose outlines the font face returns a
// 1/64 pixel apart depending on what it drew before.
void warmButtonPaint(QWidget *area);
