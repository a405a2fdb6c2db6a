#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace vardelmo::bench {

// Nearest-rank percentile, p in 0..100; the samples are reordered in place.
inline double percentile(std::vector<double>& samples, double p) {
    if (samples.empty()) {
        return 0;
    }
    const auto rank = static_cast<std::size_t>(p / 100 * static_cast<double>(samples.size() - 1));
    std::nth_element(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(rank),
                     samples.end());
    return samples[rank];
}

}  // namespace vardelmo::bench
