#include "platform/terminal/colour_modes.h"

#include <string_view>

namespace veldra::platform::terminal {
namespace {

constexpr int kCubeFirst = 16;
constexpr int kCubeSide = 6;
constexpr int kGreyFirst = 232;
constexpr int kGreySteps = 24;
constexpr int kGreyBase = 8;
constexpr int kGreyStep = 10;
constexpr std::uint8_t kCubeLevels[kCubeSide] = {0, 95, 135, 175, 215, 255};

// Console colour bits are blue 1, green 2, red 4; ANSI numbers are red 1, green 2, blue 4.
constexpr int ansiColour(int consoleColour) {
  return ((consoleColour & 1) << 2) | (consoleColour & 2) | ((consoleColour & 4) >> 2);
}

int distanceSquared(Rgb a, Rgb b) {
  const int dr = a.r - b.r;
  const int dg = a.g - b.g;
  const int db = a.b - b.b;
  return dr * dr + dg * dg + db * db;
}

bool endsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

std::string parameters(int colour, ColourMode mode, int plainBase, int brightBase, const char* extended) {
  colour &= 0xF;
  switch (mode) {
    case ColourMode::Sixteen:
      return std::to_string(((colour & 8) ? brightBase : plainBase) + ansiColour(colour & 7));
    case ColourMode::Palette256:
      return std::string(extended) + ";5;" + std::to_string(nearestXterm256(kConsolePalette[colour]));
    case ColourMode::TrueColour: {
      const Rgb rgb = kConsolePalette[colour];
      return std::string(extended) + ";2;" + std::to_string(rgb.r) + ";" + std::to_string(rgb.g) + ";" +
             std::to_string(rgb.b);
    }
  }
  return {};
}

}  // namespace

const std::array<Rgb, 16> kConsolePalette = {{
    {0x00, 0x00, 0x00}, {0x00, 0x00, 0x80}, {0x00, 0x80, 0x00}, {0x00, 0x80, 0x80},
    {0x80, 0x00, 0x00}, {0x80, 0x00, 0x80}, {0x80, 0x80, 0x00}, {0xC0, 0xC0, 0xC0},
    {0x80, 0x80, 0x80}, {0x00, 0x00, 0xFF}, {0x00, 0xFF, 0x00}, {0x00, 0xFF, 0xFF},
    {0xFF, 0x00, 0x00}, {0xFF, 0x00, 0xFF}, {0xFF, 0xFF, 0x00}, {0xFF, 0xFF, 0xFF},
}};

Rgb xterm256Rgb(int index) {
  if (index < kCubeFirst) return kConsolePalette[static_cast<std::size_t>(ansiColour(index & 7) | (index & 8))];
  if (index >= kGreyFirst) {
    const auto level = static_cast<std::uint8_t>(kGreyBase + kGreyStep * (index - kGreyFirst));
    return {level, level, level};
  }
  const int cube = index - kCubeFirst;
  return {kCubeLevels[cube / (kCubeSide * kCubeSide)], kCubeLevels[(cube / kCubeSide) % kCubeSide],
          kCubeLevels[cube % kCubeSide]};
}

int nearestXterm256(Rgb colour) {
  int best = kCubeFirst;
  for (int index = kCubeFirst; index < kGreyFirst + kGreySteps; ++index) {
    if (distanceSquared(xterm256Rgb(index), colour) < distanceSquared(xterm256Rgb(best), colour)) best = index;
  }
  return best;
}

ColourMode colourModeFor(const char* colorterm, const char* term) {
  const std::string_view terminal = term ? term : "";
  if (terminal == "linux") return ColourMode::Sixteen;
  const std::string_view colours = colorterm ? colorterm : "";
  if (colours == "truecolor" || colours == "24bit") return ColourMode::TrueColour;
  if (endsWith(terminal, "-256color")) return ColourMode::Palette256;
  return ColourMode::Sixteen;
}

std::string foregroundParameters(int colour, ColourMode mode) { return parameters(colour, mode, 30, 90, "38"); }
std::string backgroundParameters(int colour, ColourMode mode) { return parameters(colour, mode, 40, 100, "48"); }

}  // namespace veldra::platform::terminal
