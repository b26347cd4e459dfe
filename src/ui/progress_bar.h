// The progress window's bar. Platform-free.
#pragma once

// A fraction as a progress bar position from 0 to 100 and beyond: times 100, truncated
// (0.685 -> 68); negative or not-a-number fractions give 0, huge ones are held at 1000000.
int ProgressBarPosition(double fraction);
