// SPDX-License-Identifier: GPL-3.0-or-later
// The fuzz target as a plain test for any compiler: replays every session in
// the given folders, then seeded random ones. A failed check aborts with what
// went wrong.
#include "random.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char* argv[])
{
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<char> bytes {std::istreambuf_iterator<char>(in), {}};
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            ++files;
        }
    }
    // Half the bytes are letters, so typed text often survives to be encrypted.
    nihilist::Random random(20261208);
    constexpr int sessions = 20000;
    for (int n = 0; n < sessions; ++n) {
        std::vector<std::uint8_t> bytes(random.Below(300));
        for (std::uint8_t& b : bytes)
            b = static_cast<std::uint8_t>(random.Below(2) ? random.Next() : "AEIJKRSZaeijz"[random.Below(13)]);
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::printf("%d stored and %d random sessions replayed\n", files, sessions);
    return files > 0 ? 0 : 1;
}
