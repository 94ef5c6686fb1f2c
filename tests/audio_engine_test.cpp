// The synthesiser: the samples it mixes, its worker and buffers against the headless wave
// device, and the open count.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <numbers>
#include <thread>

#include "audio/audio_engine.h"
#include "audio/sound_catalogue.h"
#include "platform/headless/headless.h"

namespace veldra {
namespace {

namespace headless = platform::headless;

constexpr double kSamplePeriod = 1.0 / AudioEngine::kSampleRate;

// Mixes a lone voice until it ends; returns its samples and its last frequency.
struct Rendered {
  std::vector<std::int16_t> samples;
  double lastFrequency = 0.0;
};

Rendered renderAlone(const SoundRequest& request) {
  std::vector<Voice> voices = {
      makeVoice(request.startHz, request.endHz, request.seconds, request.volume, AudioEngine::kSampleRate)};
  Rendered rendered;
  while (!voices.empty()) {
    const double before = voices[0].frequency;
    rendered.samples.push_back(mixSample(voices, kSamplePeriod));
    if (!voices.empty()) rendered.lastFrequency = voices[0].frequency;
    else rendered.lastFrequency = before;  // the frequency the last sample was made at
    if (rendered.samples.size() > 10u * AudioEngine::kSampleRate) break;
  }
  return rendered;
}

int signChanges(const std::vector<std::int16_t>& samples, std::size_t from, std::size_t to) {
  int changes = 0;
  for (std::size_t i = from + 1; i < to && i < samples.size(); ++i) {
    if ((samples[i - 1] < 0) != (samples[i] < 0)) ++changes;
  }
  return changes;
}

TEST(MixerTest, AGlideEndsExactlyAtItsEndFrequencyAfterItsDuration) {
  for (const SoundRequest& request : {sounds::kEnemyDies, sounds::kTitleStart, sounds::kIgnisScroll,
                                      sounds::kFootstepHigh, sounds::kPortalBack, sounds::kMenuUp}) {
    Voice voice = makeVoice(request.startHz, request.endHz, request.seconds, request.volume, AudioEngine::kSampleRate);
    long samples = 0;
    do {
      nextVoiceValue(voice, kSamplePeriod, AudioEngine::kSampleRate);
      ++samples;
    } while (voice.elapsed < voice.duration);
    // The sample on which the voice ends sounds at the end frequency.
    EXPECT_NEAR(voice.frequency, request.endHz, 1e-9) << request.startHz;
    EXPECT_EQ(samples, std::lround(request.seconds * AudioEngine::kSampleRate)) << request.startHz;
  }
}

TEST(MixerTest, SamplesMatchTheSquarePlusFifthFormula) {
  // The mixer's own sine must give the samples the library sine gives, to the output step.
  const SoundRequest requests[] = {sounds::kEnemyDies, sounds::kGlaciesActivated, sounds::ambientChirp(1799)};
  for (const SoundRequest& request : requests) {
    Voice voice = makeVoice(request.startHz, request.endHz, request.seconds, 1.0, AudioEngine::kSampleRate);
    Voice reference = voice;
    int differing = 0;
    int samples = 0;
    while (voice.elapsed < voice.duration) {
      const double value = nextVoiceValue(voice, kSamplePeriod, AudioEngine::kSampleRate);
      // The reference, as the formula reads, with the glide and time taken from the mixer.
      const double t = reference.elapsed;
      const double f = voice.frequency;
      const double expected = 0.7 * (std::sin(2 * std::numbers::pi * f * t) > 0 ? 1.0 : -1.0) + 0.3 * std::sin(2 * std::numbers::pi * 1.5 * f * t);
      reference.elapsed = voice.elapsed;
      if (static_cast<int>(value * 32767) != static_cast<int>(expected * 32767)) ++differing;
      ++samples;
    }
    // Only a sample exactly on a zero crossing may land on the other side.
    EXPECT_LE(differing, samples / 1000 + 1) << request.startHz;
  }
}

TEST(MixerTest, EqualStartAndEndHoldThePitch) {
  // The last-portal hum: a steady 150 Hz for half a second. The square part decides the sign,
  // so the wave crosses zero twice per period.
  const Rendered hum = renderAlone(sounds::kLastPortalHum);
  EXPECT_EQ(hum.lastFrequency, 150.0);
  EXPECT_NEAR(signChanges(hum.samples, 0, hum.samples.size()), 150, 2);
}

TEST(MixerTest, ZeroOrNegativeDurationGivesExactlyOneSample) {
  for (double seconds : {0.0, -1.0}) {
    const Rendered one = renderAlone({440, 880, seconds, 0.5});
    ASSERT_EQ(one.samples.size(), 1u);
    // At t = 0 the sine is exactly 0, which counts as the square's low half.
    EXPECT_EQ(one.samples[0], static_cast<std::int16_t>(-0.7 * 0.5 * 32767));
  }
}

TEST(MixerTest, LoudVoicesClipInsteadOfScaling) {
  std::vector<Voice> voices;
  for (int i = 0; i < 4; ++i) voices.push_back(makeVoice(100, 100, 1.0, 0.9, AudioEngine::kSampleRate));
  std::int16_t lowest = 0;
  std::int16_t highest = 0;
  for (int i = 0; i < 1000; ++i) {
    const std::int16_t sample = mixSample(voices, kSamplePeriod);
    lowest = std::min(lowest, sample);
    highest = std::max(highest, sample);
  }
  EXPECT_EQ(highest, 32767);
  EXPECT_EQ(lowest, -32767);
}

TEST(MixerTest, FinishedVoicesLeaveTheOthersInOrder) {
  std::vector<Voice> voices = {makeVoice(100, 100, 1.0, 0.1, 44100), makeVoice(200, 200, 0.0, 0.1, 44100),
                               makeVoice(300, 300, 1.0, 0.1, 44100)};
  mixSample(voices, kSamplePeriod);
  ASSERT_EQ(voices.size(), 2u);
  EXPECT_EQ(voices[0].frequency, 100.0);
  EXPECT_EQ(voices[1].frequency, 300.0);
}

// ---- the engine and its worker, against the headless wave device ----

class AudioEngineTest : public ::testing::Test {
 protected:
  void SetUp() override { headless::reset(); }
  void TearDown() override {
    AudioEngine& engine = AudioEngine::instance();
    while (engine.openCount > 0) engine.close();
    stopAllSounds();
  }

  // The worker refills and writes a buffer after each one the device finishes.
  static bool waitForQueued(int buffers) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (headless::queuedWaveBuffers() != buffers) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
  }

  // Plays the device forward by one buffer and returns what it carried.
  static std::vector<std::int16_t> playOneBuffer() {
    std::vector<std::int16_t> samples;
    EXPECT_TRUE(headless::finishWaveBuffer(&samples));
    EXPECT_TRUE(waitForQueued(2));
    return samples;
  }
};

TEST_F(AudioEngineTest, TheWorkerStartsWithTwoSilentBuffers) {
  ASSERT_TRUE(AudioEngine::instance().open());
  ASSERT_TRUE(waitForQueued(2));
  for (int i = 0; i < 2; ++i) {
    const std::vector<std::int16_t> silence = playOneBuffer();
    ASSERT_EQ(silence.size(), 2048u);
    for (std::int16_t sample : silence) ASSERT_EQ(sample, 0);
  }
}

TEST_F(AudioEngineTest, ARequestIsMixedIntoTheNextBufferFilled) {
  SoundClient client{true};
  ASSERT_TRUE(AudioEngine::instance().open());
  ASSERT_TRUE(waitForQueued(2));
  playSound(client, 441, 441, 1.0, 0.5);
  ASSERT_EQ(AudioEngine::instance().voicesSnapshot().size(), 1u) << "a stalled device leaves it listed";
  playOneBuffer();                                           // silence from the start-up
  playOneBuffer();                                           // the other start-up buffer
  const std::vector<std::int16_t> tone = playOneBuffer();  // the first one mixed after the request
  EXPECT_EQ(tone[0], static_cast<std::int16_t>(-0.7 * 0.5 * 32767));
  EXPECT_NEAR(signChanges(tone, 0, tone.size()), 2.0 * 441 * 2048 / 44100, 2);
  // By now the worker has mixed it into three buffers: the one returned and the two queued.
  EXPECT_NEAR(AudioEngine::instance().voicesSnapshot()[0].elapsed, 3 * 2048.0 / 44100, 1e-12);
  // The player's volume scales what is mixed from then on; full is the mix itself.
  AudioEngine::instance().volumePercent = 40;
  playOneBuffer();
  playOneBuffer();
  const std::vector<std::int16_t> quieter = playOneBuffer();
  AudioEngine::instance().volumePercent = kFullVolume;
  const auto loudest = [](const std::vector<std::int16_t>& samples) {
    int most = 0;
    for (const std::int16_t sample : samples) most = std::max(most, std::abs(static_cast<int>(sample)));
    return most;
  };
  EXPECT_EQ(loudest(quieter), loudest(tone) * 40 / 100);
  EXPECT_EQ(atVolume(-32767, kFullVolume), -32767);
  EXPECT_EQ(atVolume(-32767, 0), 0);
}

TEST_F(AudioEngineTest, StopAllSoundsLeavesOnlyWhatWasQueued) {
  SoundClient client{true};
  ASSERT_TRUE(AudioEngine::instance().open());
  ASSERT_TRUE(waitForQueued(2));
  playSound(client, 300, 300, 5.0, 0.5);
  playOneBuffer();
  playOneBuffer();  // both buffers now carry the tone
  stopAllSounds();
  EXPECT_TRUE(AudioEngine::instance().voicesSnapshot().empty());
  const std::vector<std::int16_t> queued1 = playOneBuffer();
  const std::vector<std::int16_t> queued2 = playOneBuffer();
  EXPECT_GT(signChanges(queued1, 0, queued1.size()), 0) << "already with the device: still plays";
  EXPECT_GT(signChanges(queued2, 0, queued2.size()), 0);
  const std::vector<std::int16_t> after = playOneBuffer();
  for (std::int16_t sample : after) ASSERT_EQ(sample, 0);
}

TEST_F(AudioEngineTest, OpensAreCountedAndOnlyTheLastCloseStopsTheDevice) {
  AudioEngine& engine = AudioEngine::instance();
  ASSERT_TRUE(engine.open());
  ASSERT_TRUE(engine.open());
  EXPECT_EQ(engine.openCount, 2);
  engine.close();
  EXPECT_TRUE(headless::waveDeviceOpen());
  EXPECT_TRUE(engine.running);
  engine.close();
  EXPECT_FALSE(headless::waveDeviceOpen());
  EXPECT_FALSE(engine.running);
  engine.close();  // on a closed engine
  EXPECT_EQ(engine.openCount, 0);
  ASSERT_TRUE(engine.open()) << "a closed engine can be opened again";
  EXPECT_TRUE(waitForQueued(2));
}

TEST_F(AudioEngineTest, AfterCloseSoundClientNothingIsAccepted) {
  SoundClient client{true};
  ASSERT_TRUE(AudioEngine::instance().open());
  closeSoundClient(client);
  EXPECT_FALSE(client.engineOpen);
  EXPECT_EQ(AudioEngine::instance().openCount, 0);
  ASSERT_TRUE(AudioEngine::instance().open());
  playSound(client, 400, 200, 0.1, 0.15);
  EXPECT_TRUE(AudioEngine::instance().voicesSnapshot().empty());
  closeSoundClient(client);  // a second close does nothing
  EXPECT_EQ(AudioEngine::instance().openCount, 1);
}

TEST_F(AudioEngineTest, WithoutADeviceOpenFailsAndRequestsAreDropped) {
  headless::setAudioDeviceAvailable(false);
  SoundClient client{true};
  EXPECT_FALSE(AudioEngine::instance().open());
  EXPECT_EQ(AudioEngine::instance().openCount, 0);
  for (int i = 0; i < 1000; ++i) playSound(client, 400, 200, 0.1, 0.15);
  EXPECT_TRUE(AudioEngine::instance().voicesSnapshot().empty());
  // A console that plays sound itself hears every request even so, at the player's volume,
  // and nothing reaches the mixer.
  headless::setConsolePlaysSound(true);
  AudioEngine::instance().volumePercent = 40;
  playSound(client, 400, 200, 0.1, 0.5);
  AudioEngine::instance().volumePercent = kFullVolume;
  ASSERT_EQ(headless::consoleSounds().size(), 1u);
  EXPECT_EQ(headless::consoleSounds()[0].startHz, 400);
  EXPECT_EQ(headless::consoleSounds()[0].endHz, 200);
  EXPECT_EQ(headless::consoleSounds()[0].seconds, 0.1);
  EXPECT_DOUBLE_EQ(headless::consoleSounds()[0].volume, 0.2);
  EXPECT_TRUE(AudioEngine::instance().voicesSnapshot().empty());
  AudioEngine::instance().close();
  EXPECT_EQ(AudioEngine::instance().openCount, 0);
}

TEST_F(AudioEngineTest, RequestsFromManyThreadsAreAllKept) {
  SoundClient client{true};
  ASSERT_TRUE(AudioEngine::instance().open());
  ASSERT_TRUE(waitForQueued(2)) << "the worker's two silent buffers, before any is finished";
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&client] {
      for (int i = 0; i < 100; ++i) playSound(client, 200, 100, 10.0, 0.01);
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(AudioEngine::instance().voicesSnapshot().size(), 400u);
  playOneBuffer();
  playOneBuffer();
  playOneBuffer();  // the worker mixes them while this thread keeps asking
  EXPECT_EQ(AudioEngine::instance().voicesSnapshot().size(), 400u);
}

// ---- a sound device that fails ----

// Waits up to 5 s (a hang, not a timing) for the worker to give up on a lost device.
bool waitUntilLost() {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (AudioEngine::instance().running) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return true;
}

// After the device is lost: requests are dropped, and closing joins the worker and closes
// the device.
void expectSilentAndClosable(SoundClient& client) {
  for (int i = 0; i < 100; ++i) playSound(client, 400, 200, 0.1, 0.15);
  EXPECT_TRUE(AudioEngine::instance().voicesSnapshot().empty());
  AudioEngine::instance().close();
  EXPECT_FALSE(headless::waveDeviceOpen());
  EXPECT_FALSE(AudioEngine::instance().worker.joinable());
}

TEST_F(AudioEngineTest, ADeviceWhoseWritesFailLeavesTheGameSilent) {
  SoundClient client{true};
  headless::setWaveWritesFail(true);
  ASSERT_TRUE(AudioEngine::instance().open()) << "the device opened; its writes fail";
  ASSERT_TRUE(waitUntilLost());
  expectSilentAndClosable(client);

  // Failing later, after it has played a while.
  headless::setWaveWritesFail(false);
  ASSERT_TRUE(AudioEngine::instance().open());
  ASSERT_TRUE(waitForQueued(2));
  playSound(client, 300, 300, 5.0, 0.5);
  playOneBuffer();
  headless::setWaveWritesFail(true);
  ASSERT_TRUE(headless::finishWaveBuffer());
  ASSERT_TRUE(waitUntilLost());
  expectSilentAndClosable(client);
  headless::setWaveWritesFail(false);
  ASSERT_TRUE(AudioEngine::instance().open()) << "a new open, on a working device, starts afresh";
  ASSERT_TRUE(waitForQueued(2));
  EXPECT_TRUE(AudioEngine::instance().running);
}

TEST_F(AudioEngineTest, ADeviceThatVanishesMidRunLeavesTheGameSilent) {
  SoundClient client{true};
  ASSERT_TRUE(AudioEngine::instance().open());
  ASSERT_TRUE(waitForQueued(2));
  playSound(client, 300, 300, 5.0, 0.5);
  playOneBuffer();
  headless::vanishWaveDevice();
  ASSERT_TRUE(waitUntilLost());
  EXPECT_EQ(headless::queuedWaveBuffers(), 0);
  expectSilentAndClosable(client);
}

TEST_F(AudioEngineTest, ADeviceThatStopsSignallingNeverHoldsUpTheGame) {
  // The stalled device takes two buffers and never finishes one: the worker waits, a
  // hundred milliseconds at a time, and requests are taken, up to the cap, without waiting.
  SoundClient client{true};
  ASSERT_TRUE(AudioEngine::instance().open());
  ASSERT_TRUE(waitForQueued(2));
  for (int frame = 0; frame < 2000; ++frame) playSound(client, 155, 45, 0.06, 0.05);
  EXPECT_EQ(AudioEngine::instance().voicesSnapshot().size(), AudioEngine::kMaxVoices);
  EXPECT_TRUE(AudioEngine::instance().running);
  AudioEngine::instance().close();  // joins the worker out of its wait
  EXPECT_FALSE(headless::waveDeviceOpen());
}

}  // namespace
}  // namespace veldra
