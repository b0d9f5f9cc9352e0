#pragma once

class QPushButton;
class QWidget;

// A page button in a small window can be narrower than its text. Each push
// button of `page` then carries its whole text (on one line) as its tooltip;
// a button whose text fits has none. The fit is measured each time the
// tooltip is asked for, so it follows every rescale and language change.
void showCutTextsAsToolTips(QWidget *page);

// Whether the button's text (and icon) fits inside its contents rectangle.
bool buttonTextFits(const QPushButton &button);
