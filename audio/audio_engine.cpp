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
  for (int i = 0; i < buffer.sampleCount; ++i) {
    // One sample per lock hold, so the game thread never waits longer than that.
    std::lock_guard<std::mutex> guard(engine.lock);
    buffer.samples[i] = mixSample(engine.voices, samplePeriod);
  }
}

void runWorker(AudioEngine& engine) {
  for (int i = 0; i < AudioEngine::kBufferCount; ++i) {
    platform::WaveBuffer& buffer = engine.buffers[i];
    engine.bufferStorage[i].assign(engine.bufferSamples, 0);
    buffer.samples = engine.bufferStorage[i].data();
    buffer.sampleCount = engine.bufferSamples;
    platform::wavePrepare(engine.device, buffer);
    platform::waveWrite(engine.device, buffer);
  }
  int current = 0;
  while (engine.running) {
    // A buffer the device still holds is never refilled: wait again until it comes back.
    while (engine.running && !engine.buffers[current].done) engine.wakeEvent.waitFor(kWakeLimit);
    if (!engine.running) break;
    platform::WaveBuffer& buffer = engine.buffers[current];
    buffer.done = false;
    fillBuffer(engine, buffer);
    platform::waveWrite(engine.device, buffer);
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
  if (!running) return;
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
  if (running) {
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

std::int16_t mixSample(std::vector<Voice>& voices, double samplePeriod) {
  constexpr double kTwoPi = 2.0 * std::numbers::pi;
  double mix = 0.0;
  for (std::size_t i = 0; i < voices.size();) {
    Voice& voice = voices[i];
    if (voice.targetFrequency > voice.frequency) {
      voice.frequency = std::min(voice.frequency + voice.glideStep, voice.targetFrequency);
    } else if (voice.targetFrequency < voice.frequency) {
      voice.frequency = std::max(voice.frequency - voice.glideStep, voice.targetFrequency);
    }
    // The phase is frequency times elapsed time, never a running sum: gliding voices sweep.
    const double t = voice.elapsed;
    const double square = std::sin(kTwoPi * voice.frequency * t) > 0.0 ? 1.0 : -1.0;
    const double value =
        kSquareWeight * square + kFifthWeight * std::sin(kTwoPi * kFifthRatio * voice.frequency * t);
    mix += voice.amplitude * value;
    voice.elapsed += samplePeriod;
    if (voice.elapsed >= voice.duration) {
      voices.erase(voices.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      ++i;
    }
  }
  mix = std::clamp(mix, -1.0, 1.0);
  return static_cast<std::int16_t>(mix * 32767.0);
}

void playSound(SoundClient& client, double startHz, double endHz, double seconds, double volume) {
  if (!client.engineOpen) return;
  AudioEngine& engine = AudioEngine::instance();
  const Voice voice = makeVoice(startHz, endHz, seconds, volume, engine.sampleRate);
  std::lock_guard<std::mutex> guard(engine.lock);
  // Without a worker nothing would ever play or remove the voice: drop it.
  if (!engine.running) return;
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
