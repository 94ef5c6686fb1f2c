#pragma once
// The synthesiser: a list of gliding square-plus-fifth voices mixed by a worker thread
// into 16-bit mono PCM and streamed to the wave-output device through two buffers.

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "audio/sound_client.h"
#include "platform/wave_out.h"

namespace veldra {

struct Voice {
  double frequency = 0.0;        // Hz, current pitch
  double targetFrequency = 0.0;  // Hz, where the glide stops
  double glideStep = 0.0;        // Hz per output sample
  double duration = 0.0;         // seconds
  double elapsed = 0.0;          // seconds
  double amplitude = 0.0;        // linear gain
};

// Auto-reset event: a signal wakes one wait and is then cleared.
class WakeEvent {
 public:
  void signal();
  void clear();
  // True when signalled within the time limit.
  bool waitFor(std::chrono::milliseconds limit);

 private:
  std::mutex mutex_;
  std::condition_variable condition_;
  bool signalled_ = false;
};

constexpr int kFullVolume = 100;

// A mixed sample at the player's volume: at full volume exactly the sample.
std::int16_t atVolume(std::int16_t sample, int volumePercent);

struct AudioEngine {
  static constexpr int kSampleRate = 44100;
  static constexpr int kBufferSamples = 2048;
  static constexpr int kBufferCount = 2;
  // Voices kept at once. Far above what play asks for (the last level's portal hum piles up
  // about 30); it bounds the list when the device stops taking buffers and nothing is mixed.
  static constexpr std::size_t kMaxVoices = 1024;

  platform::WaveDevice* device = nullptr;
  std::thread worker;
  WakeEvent wakeEvent;
  std::mutex lock;  // guards `voices`
  std::vector<Voice> voices;
  std::atomic<bool> running{false};  // the worker takes requests (false once the device is lost)
  std::int32_t openCount = 0;
  std::int32_t sampleRate = kSampleRate;
  std::int32_t bufferSamples = kBufferSamples;
  // The player's volume in percent: 100 sends the mix as it is, 0 silence.
  std::atomic<int> volumePercent{kFullVolume};
  std::array<platform::WaveBuffer, kBufferCount> buffers;
  std::array<std::vector<std::int16_t>, kBufferCount> bufferStorage;

  // The process-wide engine, created on first use.
  static AudioEngine& instance();

  // Counts opens; the first opens the device and starts the worker. False when there is
  // no device (the game then runs silent).
  bool open();
  // The close that matches the first open stops the worker and closes the device.
  void close();
  // A copy of the voice list taken under the lock.
  std::vector<Voice> voicesSnapshot();

  AudioEngine() = default;
  ~AudioEngine();
  AudioEngine(const AudioEngine&) = delete;
  AudioEngine& operator=(const AudioEngine&) = delete;
};

// Builds the voice of one request; the glide covers |end - start| in duration * sampleRate
// samples.
Voice makeVoice(double startHz, double endHz, double seconds, double volume, int sampleRate);

// One voice's contribution to the next sample (glide, wave, gain); advances its time.
double nextVoiceValue(Voice& voice, double samplePeriod, double sampleRate);

// Mixes one output sample from `voices` and advances them; finished voices are removed.
std::int16_t mixSample(std::vector<Voice>& voices, double samplePeriod);

}  // namespace veldra
