// Timing one decoder against a reference on the same bytes: each is run several times, taking
// turns, and the best time of each is kept.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <functional>

namespace bench {

inline volatile std::size_t sink;  // keeps the results alive

inline double Seconds(const std::function<std::size_t()>& work) {
    const auto start = std::chrono::steady_clock::now();
    sink = sink + work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Pair {
    double ours = 1e30;
    double reference = 1e30;
};

inline Pair Race(const std::function<std::size_t()>& ours, const std::function<std::size_t()>& reference,
                 int runs) {
    Pair best;
    Seconds(ours);  // warm-up: first touches of the libraries and the allocator
    Seconds(reference);
    for (int i = 0; i < runs; ++i) {
        best.ours = std::min(best.ours, Seconds(ours));
        best.reference = std::min(best.reference, Seconds(reference));
    }
    return best;
}

}  // namespace bench
