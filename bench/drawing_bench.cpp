// Figures for the per-frame drawing path and the palette tables built at
// first start: keyed blits of 16x16 cells, a full present, the table build.
#include "platform/blit.h"
#include "platform/display.h"
#include "platform/headless/headless.h"
#include "platform/palette.h"
#include "platform/sheets.h"

#include <benchmark/benchmark.h>

namespace {

void prepareDisplay() {
    static bool ready = false;
    if (ready) return;
    headless::resetAll();
    headless::setKeptFrames(0);
    startVideo(DISPLAY_WIDTH, DISPLAY_HEIGHT);
    for (int i = 0; i < 256; ++i)
        workingPalette[i] = {uint8_t(i * 37), uint8_t(i * 91 + 40), uint8_t(i * 53 + 90), 0};
    createBlankSheet(SHEET_MAPOBJ, 256, 256);
    Surface& sheet = *sheetSurface(SHEET_MAPOBJ);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            sheet.row(y)[x] = uint8_t((x ^ y) & 0xFF);
    ready = true;
}

// A screen's worth of map cells: 18 by 16 cells of 16x16.
void KeyedBlitScreenOfCells(benchmark::State& state) {
    prepareDisplay();
    for (auto _ : state) {
        for (int row = 0; row < 16; ++row)
            for (int column = 0; column < 18; ++column)
                keyedBlit(column * 16, row * 16, SHEET_MAPOBJ, (column % 16) * 16, (row % 16) * 16,
                          (column % 16) * 16 + 16, (row % 16) * 16 + 16);
        benchmark::DoNotOptimize(backBuffer().pixels.data());
    }
    state.SetItemsProcessed(state.iterations() * 18 * 16);
}
BENCHMARK(KeyedBlitScreenOfCells);

void PresentWithClear(benchmark::State& state) {
    prepareDisplay();
    for (auto _ : state)
        present(1, 135);
}
BENCHMARK(PresentWithClear);

void HalfBlendPlayerCell(benchmark::State& state) {
    prepareDisplay();
    for (auto _ : state)
        halfBlendBlit(100, 100, SHEET_MAPOBJ, 0, 0, 16, 32, 0);
}
BENCHMARK(HalfBlendPlayerCell);

void BuildPaletteTables(benchmark::State& state) {
    prepareDisplay();
    for (auto _ : state)
        buildPaletteTables();
}
BENCHMARK(BuildPaletteTables)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
