// Reads a WAV file (16-bit or 32-bit float PCM, any rate and channel count) and prints the
// pitch of its first sound, near its start and at `seconds` into it, from the zero
// crossings of the first channel: "START_HZ END_HZ". For the end-to-end sound tests, which
// capture what a build played through ALSA's file plugin.
// Usage: veldra_wav_tone FILE SECONDS

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr double kWindowSeconds = 0.05;
constexpr double kSilence = 1.0 / 256;  // of full scale

std::uint32_t little(const std::string& bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
}

struct Sound {
  int rate = 0;
  std::vector<double> samples;  // the first channel, full scale 1
};

bool readWav(const std::string& bytes, Sound& sound) {
  if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) return false;
  int format = 0, channels = 0, bits = 0;
  for (std::size_t at = 12; at + 8 <= bytes.size();) {
    const std::string id = bytes.substr(at, 4);
    std::size_t size = little(bytes, at + 4, 4);
    const std::size_t body = at + 8;
    if (size > bytes.size() - body) size = bytes.size() - body;  // a capture cut short
    if (id == "fmt " && size >= 16) {
      format = static_cast<int>(little(bytes, body, 2));
      channels = static_cast<int>(little(bytes, body + 2, 2));
      sound.rate = static_cast<int>(little(bytes, body + 4, 4));
      bits = static_cast<int>(little(bytes, body + 14, 2));
    } else if (id == "data" && channels > 0) {
      const std::size_t frame = static_cast<std::size_t>(channels * bits / 8);
      for (std::size_t f = body; frame > 0 && f + frame <= body + size; f += frame) {
        if (format == 1 && bits == 16) {
          sound.samples.push_back(static_cast<std::int16_t>(little(bytes, f, 2)) / 32768.0);
        } else if (format == 3 && bits == 32) {
          const std::uint32_t raw = little(bytes, f, 4);
          float value = 0;
          std::memcpy(&value, &raw, sizeof value);
          sound.samples.push_back(value);
        } else {
          return false;
        }
      }
      return sound.rate > 0;
    }
    at = body + size + (size & 1);
  }
  return false;
}

double pitchAt(const Sound& sound, std::size_t from) {
  const std::size_t count = static_cast<std::size_t>(kWindowSeconds * sound.rate);
  int crossings = 0;
  for (std::size_t i = from + 1; i < from + count && i < sound.samples.size(); ++i) {
    if ((sound.samples[i - 1] < 0) != (sound.samples[i] < 0)) ++crossings;
  }
  return crossings / (2 * kWindowSeconds);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: veldra_wav_tone FILE SECONDS\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Sound sound;
  if (!readWav(bytes, sound)) {
    std::fprintf(stderr, "%s: not a WAV file this reads\n", argv[1]);
    return 1;
  }
  std::size_t first = 0;
  while (first < sound.samples.size() && std::fabs(sound.samples[first]) < kSilence) ++first;
  if (first == sound.samples.size()) {
    std::fprintf(stderr, "%s: silence only\n", argv[1]);
    return 1;
  }
  const double seconds = std::atof(argv[2]);
  const std::size_t end = first + static_cast<std::size_t>((seconds - kWindowSeconds) * sound.rate);
  std::printf("%.0f %.0f\n", pitchAt(sound, first), pitchAt(sound, end));
  return 0;
}
