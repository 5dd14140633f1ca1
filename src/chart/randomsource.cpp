#include "chart/randomsource.h"

#include <chrono>
#include <memory>
#include <random>

namespace lotgrid {

std::function<double()> newSeededUniformSource()
{
    // The operating system's entropy, plus two clocks in case std::random_device
    // is a fixed sequence on some platform: casts a moment apart still differ.
    std::random_device device;
    const auto wall = static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
    const auto steady = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::seed_seq seed{device(),
                       device(),
                       device(),
                       device(),
                       static_cast<unsigned>(wall),
                       static_cast<unsigned>(wall >> 32),
                       static_cast<unsigned>(steady),
                       static_cast<unsigned>(steady >> 32)};
    auto engine = std::make_shared<std::mt19937_64>(seed);
    // The top 53 bits as a multiple of 2^-53: every value in [0, 1), never 1.
    return [engine] { return static_cast<double>((*engine)() >> 11) * 0x1.0p-53; };
}

} // namespace lotgrid
