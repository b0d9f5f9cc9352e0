#pragma once

class QWidget;

// The window's page stack holds eleven pages: the seven assignment pages of
// the function list, then the delay pages of the two older keypad families
// and their two lighting pages. Until a page is written, an empty frame with
// its name holds its place so the stack indices stay right.
constexpr int kPlaceholderPageCount = 11;

QWidget *createPlaceholderPage(int index);
