#pragma once

namespace veldra {

struct Game;

// Told after each frame has been composed (and written), before the loop decides whether
// the game goes on. Recordings hook in here.
class FrameWatcher {
 public:
  virtual ~FrameWatcher() = default;
  virtual void frameDrawn(const Game& game) = 0;
};

}  // namespace veldra
