#pragma once
// The console's sixteen colours, as attribute values: foreground in bits 0-3 (blue 1,
// green 2, red 4, bright 8); a background is the same value shifted left by four.

#include <cstdint>

namespace veldra::colour {

constexpr std::uint16_t kBlack = 0;
constexpr std::uint16_t kBlue = 1;
constexpr std::uint16_t kGreen = 2;
constexpr std::uint16_t kCyan = 3;
constexpr std::uint16_t kRed = 4;
constexpr std::uint16_t kMagenta = 5;
constexpr std::uint16_t kBrown = 6;
constexpr std::uint16_t kGrey = 7;
constexpr std::uint16_t kDarkGrey = 8;
constexpr std::uint16_t kLightBlue = 9;
constexpr std::uint16_t kLightGreen = 10;
constexpr std::uint16_t kLightCyan = 11;
constexpr std::uint16_t kLightRed = 12;
constexpr std::uint16_t kLightMagenta = 13;
constexpr std::uint16_t kYellow = 14;
constexpr std::uint16_t kWhite = 15;

// A cell's attribute: this foreground on that background.
constexpr std::uint16_t on(std::uint16_t foreground, std::uint16_t background) {
  return static_cast<std::uint16_t>(foreground | background << 4);
}

}  // namespace veldra::colour
