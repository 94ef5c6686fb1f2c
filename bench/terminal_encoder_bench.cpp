// The terminal encoder on a 120 x 50 frame: a full redraw, and a frame that differs from
// the last one in a few columns (the usual case while the player turns slowly or stands).

#include <benchmark/benchmark.h>

#include <vector>

#include "platform/terminal/frame_encoder.h"

namespace {

using veldra::platform::terminal::ScreenModel;
using veldra::platform::terminal::encodeFrame;
using veldra::platform::terminal::forgetScreen;

constexpr int kWidth = 120;
constexpr int kHeight = 50;

// A frame shaped like a game view: sky bands, a wall band, floor bands, in varied colours.
std::vector<CHAR_INFO> viewLikeFrame(int shift) {
  std::vector<CHAR_INFO> cells(kWidth * kHeight);
  const char shades[] = {' ', '.', 'x', 'X', '@', '#', '\xDB', '\xDF'};
  for (int row = 0; row < kHeight; ++row) {
    for (int column = 0; column < kWidth; ++column) {
      CHAR_INFO& cell = cells[row * kWidth + column];
      const int band = (row * 8 / kHeight + (column + shift) / 15) % 8;
      cell.Char.AsciiChar = shades[band];
      cell.Attributes = static_cast<std::uint16_t>(row < kHeight / 3 ? 0x19 : row < kHeight * 2 / 3 ? 7 : 2);
    }
  }
  return cells;
}

void BM_FullRedraw(benchmark::State& state) {
  const std::vector<CHAR_INFO> frame = viewLikeFrame(0);
  ScreenModel model;
  std::string out;
  out.reserve(1 << 16);
  for (auto _ : state) {
    forgetScreen(model);
    out.clear();
    encodeFrame(model, frame.data(), kWidth, kHeight, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["bytes_per_frame"] = static_cast<double>(out.size());
}
BENCHMARK(BM_FullRedraw);

void BM_FewColumnsChanged(benchmark::State& state) {
  const std::vector<CHAR_INFO> before = viewLikeFrame(0);
  std::vector<CHAR_INFO> after = before;
  for (int row = 0; row < kHeight; ++row) {
    for (int column : {30, 31, 90}) after[row * kWidth + column].Char.AsciiChar = '|';
  }
  ScreenModel model;
  std::string out;
  out.reserve(1 << 16);
  std::size_t bytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    out.clear();
    encodeFrame(model, before.data(), kWidth, kHeight, out);
    out.clear();
    state.ResumeTiming();
    encodeFrame(model, after.data(), kWidth, kHeight, out);
    bytes = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["bytes_per_frame"] = static_cast<double>(bytes);
}
BENCHMARK(BM_FewColumnsChanged);

}  // namespace
