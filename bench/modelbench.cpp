// SPDX-License-Identifier: GPL-3.0-or-later
// How long the Encrypt command takes in the cipher core alone, without any
// widgets. Encrypt reduces the boxes in place, so every iteration first
// copies the three input strings back into the model; the window does the
// same copy on each click (ReadBoxes), so it belongs in the figure rather
// than being hidden behind PauseTiming, which costs more than the work.
#include "formmodel.h"

#include <benchmark/benchmark.h>

#include <array>
#include <string>

namespace {

using Boxes = std::array<std::u32string, 3>;

// Every box at its limit: 10-letter keyword (no letter twice), 10-letter key
// and 40 letters of text.
const Boxes FullBoxes {U"TRAMPOLINE", U"BULGARIANS", U"THEQUICKBROWNFOXJUMPSOVERTHELAZYDOGAGAIN"};

std::size_t LettersIn(const std::u32string& text)
{
    std::size_t letters = 0;
    for (char32_t c : text)
        letters += (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z');
    return letters;
}

void Encrypt(benchmark::State& state, const Boxes& boxes)
{
    nihilist::FormModel model;
    model.ResetSquare();
    const std::size_t rows = LettersIn(boxes[nihilist::FormModel::Plain]);

    for (auto _ : state) {
        model.Text2 = boxes;
        model.Encrypt();
        benchmark::DoNotOptimize(model.List1);
        benchmark::ClobberMemory();
    }

    // A figure for an Encrypt that refused its input or lost rows would be
    // meaningless, so say so instead of printing it.
    if (model.KeywordRejected || model.List1[nihilist::FormModel::CipherList].Items.size() != rows) {
        state.SkipWithError("Encrypt did not produce one row per letter");
        return;
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * rows));
    state.counters["letters"] = static_cast<double>(rows);
}

} // namespace

// The stored example a new window starts with.
BENCHMARK_CAPTURE(Encrypt, StoredExample, nihilist::FormModel().Text2)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Encrypt, FortyLetters, FullBoxes)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
