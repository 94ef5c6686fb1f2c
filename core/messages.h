#pragma once
// The on-screen message log: at most four short coloured lines, newest at the bottom.

#include <cstdint>
#include <string>

namespace veldra {

struct Game;

constexpr int kMessageLifetimeFrames = 120;
constexpr std::size_t kMaxMessages = 4;

// Appends a message with a fresh lifetime; a fifth message pushes out the oldest.
void postMessage(Game& game, const std::string& text, std::uint16_t colour);

// One world frame of ageing: every message loses a frame; spent ones are removed.
void ageMessages(Game& game);

}  // namespace veldra
