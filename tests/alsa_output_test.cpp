// The real ALSA path: the "default" PCM is routed by a test configuration through ALSA's
// file plugin to a file (over the null device, which keeps no real-time pace), and the
// captured PCM must carry the requested tone.

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "audio/audio_engine.h"

namespace veldra {
namespace {

bool alsaInstalled() {
  void* library = ::dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
  if (!library) return false;
  ::dlclose(library);
  return true;
}

std::vector<std::int16_t> readSamples(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::int16_t> samples(bytes.size() / 2);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    samples[i] = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                           static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  }
  return samples;
}

TEST(AlsaOutputTest, TheDefaultDeviceReceivesTheRequestedTone) {
  if (!alsaInstalled()) GTEST_SKIP() << "libasound.so.2 is not installed, so there is no ALSA path to test";

  // A folder of this process's own: the sanitizer build runs the same test at the same time.
  const auto directory = std::filesystem::temp_directory_path() / ("veldra-alsa-test-" + std::to_string(::getpid()));
  std::filesystem::remove_all(directory);
  std::filesystem::create_directories(directory);
  const auto capture = directory / "capture.raw";
  const auto config = directory / "asound.conf";
  {
    std::ofstream out(config);
    out << "pcm.!default {\n"
           "  type file\n"
           "  slave.pcm { type null }\n"
           "  file \"" << capture.string() << "\"\n"
           "  format \"raw\"\n"
           "}\n";
  }
  ::setenv("ALSA_CONFIG_PATH", config.c_str(), 1);

  AudioEngine& engine = AudioEngine::instance();
  ASSERT_TRUE(engine.open()) << "the default PCM should open through the test configuration";
  SoundClient client{true};
  constexpr double kToneHz = 441.0;
  constexpr double kToneSeconds = 0.5;
  playSound(client, kToneHz, kToneHz, kToneSeconds, 0.5);
  // The null device takes samples as fast as they come: wait until the tone has gone
  // through, bounded in time.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!engine.voicesSnapshot().empty() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  engine.close();
  EXPECT_FALSE(engine.running);

  const std::vector<std::int16_t> samples = readSamples(capture);
  std::size_t first = 0;
  while (first < samples.size() && samples[first] == 0) ++first;
  const std::size_t toneSamples = static_cast<std::size_t>(kToneSeconds * AudioEngine::kSampleRate);
  ASSERT_GE(samples.size(), first + toneSamples) << "the whole tone reached the file";
  EXPECT_EQ(first % AudioEngine::kBufferSamples, 0u) << "the tone starts at a buffer boundary";
  int crossings = 0;
  for (std::size_t i = first + 1; i < first + toneSamples; ++i) {
    if ((samples[i - 1] < 0) != (samples[i] < 0)) ++crossings;
  }
  // The square part sets the sign: two crossings per period.
  EXPECT_NEAR(crossings, 2 * kToneHz * kToneSeconds, 3);
  std::filesystem::remove_all(directory);
}

// A sound card that is not there: the device does not open, the engine says so at once
// and every request is dropped. (Errors in the middle of a run cannot be provoked through
// ALSA's own plugins: the file plugin reports a failed write, to /dev/full say, and goes
// on; the headless device's fault tests cover that path.)
TEST(AlsaOutputTest, AMissingCardMeansSilenceAtOnce) {
  if (!alsaInstalled()) GTEST_SKIP() << "libasound.so.2 is not installed, so there is no ALSA path to test";
  const auto directory = std::filesystem::temp_directory_path() / ("veldra-alsa-missing-" + std::to_string(::getpid()));
  std::filesystem::create_directories(directory);
  const auto config = directory / "asound.conf";
  std::ofstream(config) << "pcm.!default {\n  type hw\n  card \"NoSuchCard\"\n}\n";
  ::setenv("ALSA_CONFIG_PATH", config.c_str(), 1);

  AudioEngine& engine = AudioEngine::instance();
  EXPECT_FALSE(engine.open());
  EXPECT_FALSE(engine.running);
  SoundClient client{true};
  playSound(client, 440, 440, 1.0, 0.5);
  EXPECT_TRUE(engine.voicesSnapshot().empty());
  engine.close();
  std::filesystem::remove_all(directory);
}

}  // namespace
}  // namespace veldra
