#pragma once

// The screen's logical pixels per inch, rounded to an integer (96 without a screen).
// All page geometry is computed in these pixels.
int ScreenPPI();

// Fixes the value (command-line --ppi, tests use 96); 0 returns to the screen's.
void setScreenPPIOverride(int ppi);

// Within its scope the calling thread's drawings use this value: a thread other than the
// GUI's must not ask the screen, so it is told what the GUI thread found.
class ScopedThreadScreenPPI {
public:
    explicit ScopedThreadScreenPPI(int ppi);
    ~ScopedThreadScreenPPI();
    ScopedThreadScreenPPI(const ScopedThreadScreenPPI&) = delete;
    ScopedThreadScreenPPI& operator=(const ScopedThreadScreenPPI&) = delete;

private:
    int m_previous;
};
