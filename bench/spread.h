#pragma once

#include <vector>

// The smallest, middle and largest of a set of measurements; all NaN for an empty set.
struct Spread {
    double min;
    double median;  // the mean of the two middle values for an even count
    double max;
};

Spread SpreadOf(std::vector<double> values);
