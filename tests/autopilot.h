#pragma once
// A player for tests: it walks the level by a breadth-first path over the grid, turning
// and stepping through the real key bindings, and fights enemies it can see with the
// spells it has. One call of `frame` runs one whole frame of the game.

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "program/frame_watcher.h"
#include "core/game.h"

namespace veldra::testing {

struct Cell {
  int column;
  int row;
  bool operator==(const Cell&) const = default;
};

class Autopilot {
 public:
  explicit Autopilot(Game& game) : game_(game) {}

  // Sees every frame once drawn (a recorder, say).
  void setWatcher(FrameWatcher* watcher) { watcher_ = watcher; }

  // Runs frames, walking toward `goal` (when it returns a cell) and fighting what comes
  // near, until `done` holds. False when the budget ran out or the player died; `failure`
  // then says which.
  bool run(const std::string& step, const std::function<bool()>& done,
           const std::function<const Cell*()>& goal, int maxFrames);

  // One frame of the game with these keys down (all others up). False when it ended the
  // game by death.
  bool frameWith(const std::vector<int>& keys);

  // The cell of the nearest map object with this glyph, or none.
  const Cell* nearestObject(char glyph);
  // The cell of the nearest living enemy, or none.
  const Cell* nearestEnemy();
  // A health pickup a short walk away while health is low, or none.
  const Cell* healthNearby();

  int frames() const { return frames_; }
  int boltKills() const { return boltKills_; }
  int lowestHealth() const { return lowestHealth_; }
  const std::string& failure() const { return failure_; }

  // The path from the player's cell to `goal`, first step first; empty when there is none.
  // Kept a cell away from every fire when `shyOfFire` and such a path exists.
  std::vector<Cell> pathTo(const Cell& goal, bool shyOfFire = false) const;

 private:
  std::vector<Cell> searchPath(const Cell& goal, bool shyOfFire) const;
  std::vector<bool> blockedCells(const Cell& goal, bool shyOfFire) const;
  bool nearFire(double x, double y, double reach) const;
  bool canShield() const;
  void guard(std::vector<int>& keys);
  bool clearLineOfFire(double x, double y) const;
  const Enemy* targetInSight() const;
  void aimAt(double x, double y, std::vector<int>& keys, bool& aligned) const;
  void fight(const Enemy& enemy, std::vector<int>& keys);
  void walkToward(const Cell& goal, std::vector<int>& keys);
  void remember(const std::string& step);
  std::string recentLog() const;

  Game& game_;
  FrameWatcher* watcher_ = nullptr;
  Cell scratch_{0, 0};
  int frames_ = 0;
  int boltKills_ = 0;
  int lowestHealth_ = 100;
  bool castLastFrame_ = false;
  bool struckLastFrame_ = false;
  std::string failure_;
  std::deque<std::string> log_;  // a line every 50 frames, the latest few
};

// The tour of the shipped levels, in two parts: the fight (from the title: learn IGNIS,
// wait for mana, kill an enemy with bolts) and the round trip (take a health pickup, go
// through the forward portal and come back through the back portal). False, with the
// autopilot's failure() naming the step, when a step cannot be done.
bool playFight(Autopilot& pilot, Game& game);
bool playRoundTrip(Autopilot& pilot, Game& game);

// The whole route from the title: on the Testing Grounds every scroll and every enemy, then
// the forward portal; on the Axis Mundi every scroll, the mana potion and every enemy, then
// its forward portal to the Testing Grounds of slot 2.
bool playWholeRoute(Autopilot& pilot, Game& game);

}  // namespace veldra::testing
