#include "audio/audio_engine.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace veldra {
namespace {

// How long the worker waits for the device before it checks `running` again.
constexpr std::chrono::milliseconds kWakeLimit{100};
constexpr double kSquareWeight = 0.7;
constexpr double kFifthWeight = 0.3;
constexpr double kFifthRatio = 1.5;

void signalWake(void* context) { static_cast<AudioEngine*>(context)->wakeEvent.signal(); }

void fillBuffer(AudioEngine& engine, platform::WaveBuffer& buffer) {
  const double samplePeriod = 1.0 / engine.sampleRate;
  const int volume = engine.volumePercent.load();
  for (int i = 0; i < buffer.sampleCount; ++i) {
    // One sample per lock hold, so the game thread never waits longer than that.
    std::lock_guard<std::mutex> guard(engine.lock);
    buffer.samples[i] = atVolume(mixSample(engine.voices, samplePeriod), volume);
  }
}

// The device failed or went away: from now on requests are dropped and the game is silent.
void loseDevice(AudioEngine& engine) {
  std::lock_guard<std::mutex> guard(engine.lock);
  engine.running = false;
  engine.voices.clear();
}

void runWorker(AudioEngine& engine) {
  for (int i = 0; i < AudioEngine::kBufferCount; ++i) {
    platform::WaveBuffer& buffer = engine.buffers[i];
    engine.bufferStorage[i].assign(engine.bufferSamples, 0);
    buffer.samples = engine.bufferStorage[i].data();
    buffer.sampleCount = engine.bufferSamples;
    platform::wavePrepare(engine.device, buffer);
    // Both buffers start out silent, written at once so the device has something to play.
    if (!platform::waveWrite(engine.device, buffer)) {
      buffer.done = true;
      loseDevice(engine);
      return;
    }
  }
  int current = 0;
  while (engine.running) {
    // A buffer the device still holds is never refilled: wait again until it comes back.
    while (engine.running && !engine.buffers[current].done) engine.wakeEvent.waitFor(kWakeLimit);
    if (!engine.running) break;
    platform::WaveBuffer& buffer = engine.buffers[current];
    buffer.done = false;
    fillBuffer(engine, buffer);
    if (!platform::waveWrite(engine.device, buffer)) {
      buffer.done = true;
      loseDevice(engine);
      break;
    }
    current = (current + 1) % AudioEngine::kBufferCount;
  }
}

}  // namespace

void WakeEvent::signal() {
  {
    std::lock_guard<std::mutex> guard(mutex_);
    signalled_ = true;
  }
  condition_.notify_one();
}

void WakeEvent::clear() {
  std::lock_guard<std::mutex> guard(mutex_);
  signalled_ = false;
}

bool WakeEvent::waitFor(std::chrono::milliseconds limit) {
  std::unique_lock<std::mutex> guard(mutex_);
  const bool woken = condition_.wait_for(guard, limit, [this] { return signalled_; });
  signalled_ = false;
  return woken;
}

AudioEngine& AudioEngine::instance() {
  static AudioEngine engine;
  return engine;
}

bool AudioEngine::open() {
  if (openCount > 0) {
    ++openCount;
    return true;
  }
  wakeEvent.clear();
  device = platform::waveOpen(&signalWake, this);
  if (!device) return false;
  // The list never grows past its cap: taken whole now, a request never allocates.
  voices.reserve(kMaxVoices);
  running = true;
  try {
    worker = std::thread(runWorker, std::ref(*this));
  } catch (const std::system_error&) {
    platform::waveClose(device);
    device = nullptr;
    running = false;
    return false;
  }
  openCount = 1;
  return true;
}

void AudioEngine::close() {
  --openCount;
  if (openCount > 0) return;
  openCount = 0;
  // The worker may have stopped by itself (the device was lost); it is joined either way.
  if (!worker.joinable()) return;
  running = false;
  wakeEvent.signal();
  worker.join();
  platform::waveReset(device);
  for (int i = 0; i < kBufferCount; ++i) {
    platform::waveUnprepare(device, buffers[i]);
    buffers[i].samples = nullptr;
    buffers[i].sampleCount = 0;
    std::vector<std::int16_t>().swap(bufferStorage[i]);
  }
  platform::waveClose(device);
  device = nullptr;
}

std::vector<Voice> AudioEngine::voicesSnapshot() {
  std::lock_guard<std::mutex> guard(lock);
  return voices;
}

AudioEngine::~AudioEngine() {
  // A worker must not outlive the lock it uses.
  if (worker.joinable()) {
    openCount = 1;
    close();
  }
}

Voice makeVoice(double startHz, double endHz, double seconds, double volume, int sampleRate) {
  Voice voice;
  voice.frequency = startHz;
  voice.targetFrequency = endHz;
  const double glideSamples = seconds * sampleRate;
  voice.glideStep = glideSamples > 0.0 ? std::fabs(endHz - startHz) / glideSamples : 0.0;
  voice.duration = seconds;
  voice.elapsed = 0.0;
  voice.amplitude = volume;
  return voice;
}

namespace {

// The fractional part of x, in [0, 1).
double fraction(double x) {
  double f = x - static_cast<double>(static_cast<long long>(x));
  if (f < 0.0) f += 1.0;
  return f;
}

// sin(2 pi r) for r in [0, 1): folded onto [-pi/2, pi/2] and summed as a polynomial whose
// error (below 1e-9) stays far under the 1/32767 step of an output sample. The mixer
// evaluates this twice per voice per sample, where the library sine was most of its cost.
double sinTwoPi(double r) {
  double u = r - 0.5;  // sin(2 pi r) = -sin(2 pi u), u in [-0.5, 0.5)
  if (u > 0.25) u = 0.5 - u;
  else if (u < -0.25) u = -0.5 - u;
  const double z = 2.0 * std::numbers::pi * u;
  const double z2 = z * z;
  // Taylor series of sin to z^15.
  double p = -1.0 / 1307674368000.0;
  p = p * z2 + 1.0 / 6227020800.0;
  p = p * z2 - 1.0 / 39916800.0;
  p = p * z2 + 1.0 / 362880.0;
  p = p * z2 - 1.0 / 5040.0;
  p = p * z2 + 1.0 / 120.0;
  p = p * z2 - 1.0 / 6.0;
  p = p * z2 + 1.0;
  return -(z * p);
}

}  // namespace

double nextVoiceValue(Voice& voice, double samplePeriod, double sampleRate) {
  if (voice.targetFrequency > voice.frequency) {
    voice.frequency = std::min(voice.frequency + voice.glideStep, voice.targetFrequency);
  } else if (voice.targetFrequency < voice.frequency) {
    voice.frequency = std::max(voice.frequency - voice.glideStep, voice.targetFrequency);
  }
  // The phase is frequency times elapsed time, never a running sum: gliding voices sweep.
  const double cycles = voice.frequency * voice.elapsed;
  // sin(2 pi x) > 0 exactly when x's fractional part lies strictly inside (0, 1/2); a sine
  // of exactly 0 counts as the low half.
  const double phase = fraction(cycles);
  const double square = phase > 0.0 && phase < 0.5 ? 1.0 : -1.0;
  const double value = kSquareWeight * square + kFifthWeight * sinTwoPi(fraction(kFifthRatio * cycles));
  // Counted in whole samples rather than summed, so rounding never ends a tone a sample
  // early or late: a tone of d seconds lasts round(d * rate) samples and its last sample
  // sounds at its end frequency.
  const double samplesSoFar = static_cast<double>(static_cast<long long>(voice.elapsed * sampleRate + 0.5));
  voice.elapsed = (samplesSoFar + 1.0) * samplePeriod;
  return voice.amplitude * value;
}

std::int16_t mixSample(std::vector<Voice>& voices, double samplePeriod) {
  const double sampleRate = 1.0 / samplePeriod;
  double mix = 0.0;
  for (std::size_t i = 0; i < voices.size();) {
    mix += nextVoiceValue(voices[i], samplePeriod, sampleRate);
    if (voices[i].elapsed >= voices[i].duration) {
      voices.erase(voices.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      ++i;
    }
  }
  mix = std::clamp(mix, -1.0, 1.0);
  return static_cast<std::int16_t>(mix * 32767.0);
}

std::int16_t atVolume(std::int16_t sample, int volumePercent) {
  if (volumePercent >= kFullVolume) return sample;
  return static_cast<std::int16_t>(sample * std::max(volumePercent, 0) / kFullVolume);
}

void playSound(SoundClient& client, double startHz, double endHz, double seconds, double volume) {
  if (!client.engineOpen) return;
  AudioEngine& engine = AudioEngine::instance();
  if (platform::consolePlaysSound()) {
    const double atPlayersVolume = volume * std::clamp(engine.volumePercent.load(), 0, kFullVolume) / kFullVolume;
    platform::sendSoundToConsole({startHz, endHz, seconds, atPlayersVolume});
    return;
  }
  const Voice voice = makeVoice(startHz, endHz, seconds, volume, engine.sampleRate);
  std::lock_guard<std::mutex> guard(engine.lock);
  // Without a worker nothing would ever play or remove the voice: drop it. Likewise beyond
  // the cap, which only a device that no longer plays lets the list reach.
  if (!engine.running || engine.voices.size() >= AudioEngine::kMaxVoices) return;
  engine.voices.push_back(voice);
}

void stopAllSounds() {
  AudioEngine& engine = AudioEngine::instance();
  std::lock_guard<std::mutex> guard(engine.lock);
  engine.voices.clear();
}

void closeSoundClient(SoundClient& client) {
  if (!client.engineOpen) return;
  client.engineOpen = false;
  AudioEngine::instance().close();
}

}  // namespace veldra
