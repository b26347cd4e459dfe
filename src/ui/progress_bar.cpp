#include "ui/progress_bar.h"

#include <cmath>

int ProgressBarPosition(double fraction) {
    const double position = fraction * 100.0;
    if (std::isnan(position) || position <= 0.0) return 0;
    if (position >= 1000000.0) return 1000000;
    return static_cast<int>(position);
}
