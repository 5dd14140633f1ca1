#pragma once

#include <array>

namespace lotgrid {

// A family of six fields, one per line, reached by line number 1 (bottom) .. 6 (top).
template<typename T>
struct Six {
    std::array<T, 6> items{};

    T &operator()(int line) { return items.at(line - 1); }
    const T &operator()(int line) const { return items.at(line - 1); }
    auto begin() { return items.begin(); }
    auto end() { return items.end(); }
    auto begin() const { return items.begin(); }
    auto end() const { return items.end(); }
};

} // namespace lotgrid
