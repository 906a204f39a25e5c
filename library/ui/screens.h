// The screen stack: each menu screen is a child of the root, one shown at a time; the stack keeps
// the road the player took so that "Back" returns along it. Changes fade through black.
#pragma once

#include "library/ui/object.h"

namespace vyr {

constexpr int MAX_SCREEN_DEPTH = 32;
constexpr int FADE_FRAMES = 10;

extern UiObject* screen_stack[MAX_SCREEN_DEPTH];
extern int screen_depth;

// Makes the screen current (a screen already on the stack unwinds the stack to it; a full stack
// shows it without recording it) and returns once it is drawn and faded in.
void push_screen(UiObject* screen);
// The same without fades and without waiting.
void push_screen_now(UiObject* screen);
// Returns to the screen below the top; with none below, the top is shown again.
void pop_screen();
void pop_screen_now();
// To black over ten vertical blanks, and back at once.
void fade_screen_out();
void fade_screen_in();
// To black at once, for a picture that should not be seen at all.
void black_out_screen();

}  // namespace vyr
