#pragma once

// The screen's logical pixels per inch, rounded to an integer (96 without a screen).
// All page geometry is computed in these pixels.
int ScreenPPI();

// Fixes the value (command-line --ppi, tests use 96); 0 returns to the screen's.
void setScreenPPIOverride(int ppi);
