// The synthesiser's mixer as the worker runs it (one lock per sample): CPU seconds per
// second of audio with 1, 10 and 40 voices (40 is a player standing at the last level's
// forward portal, whose hum is asked for every frame).

#include <benchmark/benchmark.h>

#include <mutex>
#include <vector>

#include "audio/audio_engine.h"

namespace {

using veldra::AudioEngine;
using veldra::Voice;

void BM_MixOneSecond(benchmark::State& state) {
  const int voiceCount = static_cast<int>(state.range(0));
  const double samplePeriod = 1.0 / AudioEngine::kSampleRate;
  std::mutex lock;
  std::vector<std::int16_t> output(AudioEngine::kSampleRate);
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<Voice> voices;
    for (int i = 0; i < voiceCount; ++i) {
      voices.push_back(veldra::makeVoice(150.0 + i, 90.0 + i, 10.0, 0.02, AudioEngine::kSampleRate));
    }
    state.ResumeTiming();
    for (std::int16_t& sample : output) {
      std::lock_guard<std::mutex> guard(lock);
      sample = veldra::mixSample(voices, samplePeriod);
    }
    benchmark::DoNotOptimize(output.data());
  }
  // Each iteration is one second of audio, so seconds per iteration is the real-time ratio.
  state.counters["cpu_share_of_realtime"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MixOneSecond)->Arg(1)->Arg(10)->Arg(40)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
