#pragma once

#include <algorithm>
#include <vector>

// The middle of the measured values: one slow outlier moves it not at all.
[[nodiscard]] inline double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
