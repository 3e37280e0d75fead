#include "bench/spread.h"

#include <algorithm>
#include <limits>

Spread SpreadOf(std::vector<double> values) {
    if (values.empty()) {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        return {nan, nan, nan};
    }
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    const double median =
        values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
    return {values.front(), median, values.back()};
}
