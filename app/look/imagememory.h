#pragma once

// Lets the memory of a freed window image serve the next one.
//
// Where the window's backing store lives in the process (the offscreen
// platform, and any image the program draws into), every new window size
// makes an image of several megabytes and frees the old one. By default the
// C library gives the first such blocks their own mappings, then raises its
// threshold, so later images come from the heap and the freed ones stay
// there as holes the next size may not fit: after a few rescales the
// process holds three images more than it uses. Keeping blocks below
// 32 MiB in the heap, and the heap's free top untrimmed up to as much, lets
// each new image take a freed image's room. Call once, at start.
void reuseFreedImageMemory();
