#include "casting/randomsource.h"

#include <chrono>
#include <memory>
#include <random>

namespace lotgrid {

std::function<double()> newSeededUniformSource()
{
    std::random_device device;
    const auto ticks = static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
    std::seed_seq seed{device(), device(), device(), device(), static_cast<unsigned>(ticks),
                       static_cast<unsigned>(ticks >> 32)};
    auto engine = std::make_shared<std::mt19937_64>(seed);
    return [engine] { return std::uniform_real_distribution<double>(0.0, 1.0)(*engine); };
}

} // namespace lotgrid
