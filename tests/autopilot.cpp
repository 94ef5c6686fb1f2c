#include "autopilot.h"

#include <cmath>
#include <deque>
#include <numbers>

#include "core/program/game_loop.h"
#include "core/geometry.h"
#include "core/map_grid.h"
#include "player/movement.h"
#include "fresh_state.h"
#include "platform/headless.h"
#include "core/object_kinds.h"

namespace veldra::testing {
namespace {

constexpr double kTurnStep = 0.05;      // what one frame of turning does
constexpr double kWalkWhileTurning = 0.2;  // radians off course at which walking stops
constexpr double kFightRange = 9.0;     // cells: enemies nearer than this are shot at
constexpr double kMeleeRange = 3.0;     // cells: unarmed, the player stands and waits for the staff
constexpr double kStaffNearest = 0.75;  // cells: the staff reaches enemies between these two
constexpr double kStaffFarthest = 1.7;
constexpr double kBackOffRange = 1.0;   // cells: nearer than this, the player steps back
constexpr double kAimTolerance = 0.03;  // radians
constexpr int kIgnisCost = 35;
constexpr int kElectricaCost = 10;


double wrapAngle(double angle) {
  angle = std::fmod(angle, 2.0 * std::numbers::pi);
  if (angle > std::numbers::pi) angle -= 2.0 * std::numbers::pi;
  if (angle <= -std::numbers::pi) angle += 2.0 * std::numbers::pi;
  return angle;
}

constexpr int kLogEveryFrames = 50;
constexpr std::size_t kLogLines = 12;

}  // namespace

void Autopilot::remember(const std::string& step) {
  char line[160];
  std::snprintf(line, sizeof line, "\n  frame %d, %s: at (%.2f, %.2f) facing %.2f, health %d, mana %d, enemies", frames_,
                step.c_str(), game_.playerX, game_.playerY, game_.playerAngle, game_.hp, game_.mp);
  std::string text = line;
  for (const Enemy& enemy : game_.enemies) {
    std::snprintf(line, sizeof line, " (%.1f, %.1f: %d)", enemy.x, enemy.y, enemy.hp);
    text += line;
  }
  log_.push_back(text);
  if (log_.size() > kLogLines) log_.pop_front();
}

std::string Autopilot::recentLog() const {
  std::string text = "\nThe last frames:";
  for (const std::string& line : log_) text += line;
  return text;
}

bool Autopilot::frameWith(const std::vector<int>& keys) {
  testing::releaseAllKeys();
  for (int key : keys) platform::headless::setKeyDown(key, true);
  const bool alive = runFrame(game_, watcher_);
  for (const Enemy& enemy : game_.enemies) boltKills_ += !enemy.alive;
  ++frames_;
  return alive;
}

std::vector<bool> Autopilot::blockedCells(const Cell& goal) const {
  std::vector<bool> blocked(static_cast<std::size_t>(game_.mapWidth * game_.mapHeight));
  for (int row = 0; row < game_.mapHeight; ++row) {
    for (int column = 0; column < game_.mapWidth; ++column) {
      blocked[static_cast<std::size_t>(row * game_.mapWidth + column)] = isWallCell(game_, column, row);
    }
  }
  for (const MapObject& object : game_.mapObjects) {
    const Cell cell{cellIndexOf(object.x), cellIndexOf(object.y)};
    if (!isWalkThrough(object.glyph) && insideGrid(game_, cell.column, cell.row) && !(cell == goal)) {
      blocked[static_cast<std::size_t>(cell.row * game_.mapWidth + cell.column)] = true;
    }
  }
  return blocked;
}

std::vector<Cell> Autopilot::pathTo(const Cell& goal) const {
  const Cell from{cellIndexOf(game_.playerX), cellIndexOf(game_.playerY)};
  const int width = game_.mapWidth;
  std::vector<int> cameFrom(static_cast<std::size_t>(width * game_.mapHeight), -1);
  const auto index = [width](const Cell& c) { return static_cast<std::size_t>(c.row * width + c.column); };
  const std::vector<bool> blocked = blockedCells(goal);
  const auto passable = [&](const Cell& c) {
    return insideGrid(game_, c.column, c.row) && !blocked[index(c)];
  };
  std::deque<Cell> queue{from};
  cameFrom[index(from)] = static_cast<int>(index(from));
  while (!queue.empty() && !(queue.front() == goal)) {
    const Cell here = queue.front();
    queue.pop_front();
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        const Cell next{here.column + dx, here.row + dy};
        if ((dx == 0 && dy == 0) || !passable(next)) continue;
        // Diagonals only across open corners.
        if (dx != 0 && dy != 0 &&
            (!passable({here.column + dx, here.row}) || !passable({here.column, here.row + dy}))) {
          continue;
        }
        if (cameFrom[index(next)] >= 0) continue;
        cameFrom[index(next)] = static_cast<int>(index(here));
        queue.push_back(next);
      }
    }
  }
  if (queue.empty()) return {};
  std::vector<Cell> path;
  for (Cell c = goal; !(c == from);) {
    path.insert(path.begin(), c);
    const int previous = cameFrom[index(c)];
    c = Cell{previous % width, previous / width};
  }
  return path;
}

const Cell* Autopilot::nearestObject(char glyph) {
  double best = 1e9;
  const MapObject* found = nullptr;
  for (const MapObject& object : game_.mapObjects) {
    const double d = distanceBetween(object.x, object.y, game_.playerX, game_.playerY);
    if (object.glyph == glyph && d < best) {
      best = d;
      found = &object;
    }
  }
  if (!found) return nullptr;
  scratch_ = Cell{cellIndexOf(found->x), cellIndexOf(found->y)};
  return &scratch_;
}

const Cell* Autopilot::nearestEnemy() {
  double best = 1e9;
  const Enemy* found = nullptr;
  for (const Enemy& enemy : game_.enemies) {
    const double d = distanceBetween(enemy.x, enemy.y, game_.playerX, game_.playerY);
    if (enemy.alive && d < best) {
      best = d;
      found = &enemy;
    }
  }
  if (!found) return nullptr;
  scratch_ = Cell{cellIndexOf(found->x), cellIndexOf(found->y)};
  return &scratch_;
}

// Nothing a bolt would burst on between the player and the point.
bool Autopilot::clearLineOfFire(double x, double y) const {
  const double length = distanceBetween(x, y, game_.playerX, game_.playerY);
  for (double t = 0.0; t < length; t += 0.1) {
    const double px = game_.playerX + (x - game_.playerX) * t / length;
    const double py = game_.playerY + (y - game_.playerY) * t / length;
    if (blocksAt(game_, px, py)) return false;
    for (const MapObject& object : game_.mapObjects) {
      if (isBreakable(object.glyph) && distanceBetween(object.x, object.y, px, py) < 0.6) return false;
    }
  }
  return true;
}

const Enemy* Autopilot::targetInSight() const {
  const Enemy* best = nullptr;
  double bestDistance = kFightRange;
  for (const Enemy& enemy : game_.enemies) {
    const double d = distanceBetween(enemy.x, enemy.y, game_.playerX, game_.playerY);
    if (enemy.alive && d < bestDistance && clearLineOfFire(enemy.x, enemy.y)) {
      best = &enemy;
      bestDistance = d;
    }
  }
  return best;
}

void Autopilot::aimAt(double x, double y, std::vector<int>& keys, bool& aligned) const {
  const double off = wrapAngle(std::atan2(y - game_.playerY, x - game_.playerX) - game_.playerAngle);
  aligned = std::fabs(off) < kAimTolerance;
  if (std::fabs(off) > kTurnStep / 2) keys.push_back(off < 0 ? game_.keyTurnLeft : game_.keyTurnRight);
}

void Autopilot::fight(const Enemy& enemy, std::vector<int>& keys) {
  bool aligned = false;
  aimAt(enemy.x, enemy.y, keys, aligned);
  const double d = distanceBetween(enemy.x, enemy.y, game_.playerX, game_.playerY);
  if (aligned && !castLastFrame_) {
    if (game_.ignisLearned && game_.mp >= kIgnisCost) keys.push_back(game_.keyIgnis);
    else if (game_.electricaLearned && game_.mp >= kElectricaCost) keys.push_back(game_.keyElectrica);
  }
  if (aligned && d > kStaffNearest && d < kStaffFarthest && game_.attackFrame == 0 && !struckLastFrame_) {
    keys.push_back(game_.keyAttack);
  }
  if (d < kBackOffRange) keys.push_back(game_.keyBackward);
}

void Autopilot::walkToward(const Cell& goal, std::vector<int>& keys) {
  const std::vector<Cell> path = pathTo(goal);
  if (path.empty()) return;
  const Cell next = path.front();
  bool aligned = false;
  aimAt(next.column + 0.5, next.row + 0.5, keys, aligned);
  const double off =
      wrapAngle(std::atan2(next.row + 0.5 - game_.playerY, next.column + 0.5 - game_.playerX) - game_.playerAngle);
  if (std::fabs(off) < kWalkWhileTurning) keys.push_back(game_.keyForward);
}

bool Autopilot::run(const std::string& step, const std::function<bool()>& done,
                    const std::function<const Cell*()>& goal, int maxFrames) {
  for (int frame = 0; frame < maxFrames; ++frame) {
    if (done()) return true;
    std::vector<int> keys;
    const bool armed = (game_.ignisLearned && game_.mp >= kIgnisCost) ||
                       (game_.electricaLearned && game_.mp >= kElectricaCost);
    const Enemy* enemy = targetInSight();
    const bool close = enemy && distanceBetween(enemy->x, enemy->y, game_.playerX, game_.playerY) < kMeleeRange;
    if (enemy && (armed || close)) {
      fight(*enemy, keys);
    } else if (const Cell* target = goal()) {
      walkToward(*target, keys);
    }
    castLastFrame_ = false;
    struckLastFrame_ = false;
    for (int key : keys) {
      castLastFrame_ |= key == game_.keyIgnis || key == game_.keyElectrica;
      struckLastFrame_ |= key == game_.keyAttack;
    }
    if (frame == 0 || frames_ % kLogEveryFrames == 0) remember(step);
    if (!frameWith(keys)) {
      failure_ = step + ": the player died after " + std::to_string(frames_) + " frames" + recentLog();
      return false;
    }
  }
  if (done()) return true;
  failure_ = step + ": not reached within " + std::to_string(maxFrames) + " frames (player at " +
             std::to_string(game_.playerX) + ", " + std::to_string(game_.playerY) + ", health " +
             std::to_string(game_.hp) + ")" + recentLog();
  return false;
}

bool playFight(Autopilot& pilot, Game& game) {
  const auto none = []() -> const Cell* { return nullptr; };
  if (!pilot.frameWith({vk::kEnter}) || game.inFrontEnd) {
    return pilot.run("start the game from the title", [] { return false; }, none, 0);
  }
  const Cell* scroll = pilot.nearestObject('S');
  if (!scroll) return pilot.run("learn IGNIS (the level has no IGNIS scroll)", [] { return false; }, none, 0);
  const Cell scrollCell = *scroll;
  return pilot.run("learn IGNIS", [&] { return game.ignisLearned; }, [&] { return &scrollCell; }, 1500) &&
         pilot.run("wait for mana", [&] { return game.mp >= 35; }, none, 400) &&
         pilot.run("kill an enemy with bolts", [&] { return pilot.boltKills() > 0; },
                   [&] { return pilot.nearestEnemy(); }, 6000);
}

bool playRoundTrip(Autopilot& pilot, Game& game) {
  const auto none = []() -> const Cell* { return nullptr; };
  if (!pilot.nearestObject('h')) return pilot.run("take a health pickup (none is left)", [] { return false; }, none, 0);
  const std::size_t taken = game.consumedPickups.size();
  return pilot.run("take a health pickup", [&] { return game.consumedPickups.size() > taken; },
                   [&] { return pilot.nearestObject('h'); }, 6000) &&
         pilot.run("walk through the forward portal", [&] { return game.levelIndex == 1; },
                   [&] { return pilot.nearestObject('O'); }, 8000) &&
         pilot.run("come back through the back portal", [&] { return game.levelIndex == 0; },
                   [&] { return pilot.nearestObject('A'); }, 8000);
}

}  // namespace veldra::testing
