// SPDX-License-Identifier: GPL-3.0-or-later
// The one seeded generator of the random sessions (the window's and the
// fuzzer's replay): mulberry32, small and the same on every platform and
// standard library, so a seed names the same session everywhere.
#pragma once

#include <cstdint>

namespace nihilist {

class Random {
public:
    explicit Random(std::uint32_t seed)
        : state_(seed)
    {
    }
    std::uint32_t Next()
    {
        state_ += 0x6d2b79f5u;
        std::uint32_t t = state_;
        t = (t ^ (t >> 15)) * (t | 1u);
        t ^= t + (t ^ (t >> 7)) * (t | 61u);
        return t ^ (t >> 14);
    }
    // 0 to n - 1.
    int Below(int n)
    {
        return static_cast<int>((static_cast<std::uint64_t>(Next()) * static_cast<std::uint64_t>(n)) >> 32);
    }
    template <typename List> const auto& Pick(const List& items)
    {
        return items[Below(static_cast<int>(items.size()))];
    }

private:
    std::uint32_t state_;
};

} // namespace nihilist
