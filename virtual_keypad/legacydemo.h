#pragma once

// Demo keypads of the two legacy families, for zentrik-demo ("r20wide" and
// "old"). Each plugs the keypad in with a few assignments and returns its id.

int installR20WideDemoKeypad();
int installOldDemoKeypad();
