#pragma once
// Keys typed into the program by a script, for the end-to-end tests that run the real program
// under the stand-in menu server: with the environment variable EVASORD_TASTI naming keys
// separated by commas ("Tab,Up,Shift+Tab,Space", each as a key sequence writes it), once a
// window of the program is active, each key is pressed and released in the control that has
// the focus, a tenth of a second apart, as a user would type them: a key waits while the one
// before is still being handled, unless that one opened a modal window, which gets the keys
// after it; when the active window hides, the one active before it gets the keys back, as a
// window manager would see to. The name "Clic" clicks with the left button where the focus is
// (on the current cell of a grid, else in the middle of the control), "DoppioClic" double
// clicks there; "Virgola" types a comma; "Alt+Tab" makes active the window that had the keys
// before the active one, as the window system does. Without the variable nothing happens.
inline constexpr char kTastiScrittiEnv[] = "EVASORD_TASTI";

void AvviaTastiScritti();
