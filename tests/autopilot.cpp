#include "autopilot.h"

#include <cmath>
#include <deque>
#include <numbers>

#include "program/game_loop.h"
#include "core/geometry.h"
#include "core/map_grid.h"
#include "player/movement.h"
#include "fresh_state.h"
#include "platform/headless/headless.h"
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
constexpr int kHerbaCost = 5;
constexpr int kShieldNeeds = 25;        // mana the plain shield asks for; the boosted one 75
constexpr int kBoostedShieldNeeds = 75;
constexpr int kBurstMana = 100;         // with this much mana, IGNIS's heavier bolt first
constexpr double kShieldRange = 2.5;    // cells: an enemy this near raises the shield
constexpr double kFireShy = 1.5;        // cells from a fire that a shy path keeps off
constexpr double kFireAhead = 1.2;      // cells: a fire this near the next steps raises the shield
constexpr int kStepsAhead = 3;
constexpr int kSeekHealthBelow = 60;     // below this, health pickups nearby come first
constexpr std::size_t kHealthDetour = 25;  // steps
constexpr int kMendBelow = 50;          // HERBA mends at or below 49 health
constexpr int kBoostedMendBelow = 90;   // and upgraded, heals 5 up to 95


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
  lowestHealth_ = std::min(lowestHealth_, game_.hp);
  ++frames_;
  return alive;
}

bool Autopilot::nearFire(double x, double y, double reach) const {
  for (const MapObject& object : game_.mapObjects) {
    if (hasRole(object.glyph, ObjectRole::Fire) && distanceBetween(object.x, object.y, x, y) < reach) return true;
  }
  return false;
}

std::vector<bool> Autopilot::blockedCells(const Cell& goal, bool shyOfFire) const {
  std::vector<bool> blocked(static_cast<std::size_t>(game_.mapWidth * game_.mapHeight));
  for (int row = 0; row < game_.mapHeight; ++row) {
    for (int column = 0; column < game_.mapWidth; ++column) {
      blocked[static_cast<std::size_t>(row * game_.mapWidth + column)] = isWallCell(game_, column, row);
    }
  }
  for (const MapObject& fire : game_.mapObjects) {
    if (!shyOfFire || !hasRole(fire.glyph, ObjectRole::Fire)) continue;
    const int reach = static_cast<int>(std::ceil(kFireShy));
    for (int row = cellIndexOf(fire.y) - reach; row <= cellIndexOf(fire.y) + reach; ++row) {
      for (int column = cellIndexOf(fire.x) - reach; column <= cellIndexOf(fire.x) + reach; ++column) {
        if (insideGrid(game_, column, row) && !(Cell{column, row} == goal) &&
            distanceBetween(fire.x, fire.y, column + 0.5, row + 0.5) < kFireShy) {
          blocked[static_cast<std::size_t>(row * game_.mapWidth + column)] = true;
        }
      }
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

std::vector<Cell> Autopilot::pathTo(const Cell& goal, bool shyOfFire) const {
  if (shyOfFire) {
    std::vector<Cell> shy = searchPath(goal, true);
    if (!shy.empty()) return shy;
  }
  return searchPath(goal, false);
}

std::vector<Cell> Autopilot::searchPath(const Cell& goal, bool shyOfFire) const {
  const Cell from{cellIndexOf(game_.playerX), cellIndexOf(game_.playerY)};
  const int width = game_.mapWidth;
  std::vector<int> cameFrom(static_cast<std::size_t>(width * game_.mapHeight), -1);
  const auto index = [width](const Cell& c) { return static_cast<std::size_t>(c.row * width + c.column); };
  const std::vector<bool> blocked = blockedCells(goal, shyOfFire);
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

// A health pickup a short walk away, when health is low.
const Cell* Autopilot::healthNearby() {
  if (game_.hp >= kSeekHealthBelow) return nullptr;
  const Cell* health = nearestObject('h');
  if (!health) return nullptr;
  const std::size_t steps = pathTo(*health).size();
  return steps > 0 && steps <= kHealthDetour ? health : nullptr;
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
    // ELECTRICA does the most harm for its mana; IGNIS the most for one cast.
    const bool burst = game_.ignisLearned && (game_.mp >= kBurstMana || !game_.electricaLearned);
    if (burst && game_.mp >= kIgnisCost) keys.push_back(game_.keyIgnis);
    else if (game_.electricaLearned && game_.mp >= kElectricaCost) keys.push_back(game_.keyElectrica);
  }
  if (aligned && d > kStaffNearest && d < kStaffFarthest && game_.attackFrame == 0 && !struckLastFrame_) {
    keys.push_back(game_.keyAttack);
  }
  if (d < kBackOffRange) keys.push_back(game_.keyBackward);
}

bool Autopilot::canShield() const {
  const int needs = game_.glaciesUpgraded ? kBoostedShieldNeeds : kShieldNeeds;
  return game_.glaciesLearned && !game_.glaciesActive && game_.mp >= needs;
}

// The shield against a crowd, HERBA to mend.
void Autopilot::guard(std::vector<int>& keys) {
  bool crowded = false;
  for (const Enemy& enemy : game_.enemies) {
    crowded |= enemy.alive && distanceBetween(enemy.x, enemy.y, game_.playerX, game_.playerY) < kShieldRange;
  }
  if (crowded && canShield() && !castLastFrame_) keys.push_back(game_.keyGlacies);
  const int mendBelow = game_.herbaUpgraded ? kBoostedMendBelow : kMendBelow;
  if (game_.herbaLearned && game_.hp < mendBelow && game_.mp >= kHerbaCost && !castLastFrame_ && !crowded) {
    keys.push_back(game_.keyHerba);
  }
}

void Autopilot::walkToward(const Cell& goal, std::vector<int>& keys) {
  const std::vector<Cell> path = pathTo(goal, !game_.glaciesActive);
  if (path.empty()) return;
  // Through fire only under the shield, when there is one to raise: wait for the mana.
  bool fireAhead = false;
  for (std::size_t i = 0; i < path.size() && i < kStepsAhead; ++i) {
    fireAhead |= nearFire(path[i].column + 0.5, path[i].row + 0.5, kFireAhead);
  }
  if (fireAhead && game_.glaciesLearned && !game_.glaciesActive) {
    if (canShield() && !castLastFrame_) keys.push_back(game_.keyGlacies);
    return;
  }
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
    guard(keys);
    if (enemy && (armed || close)) {
      fight(*enemy, keys);
    } else if (const Cell* health = healthNearby()) {
      walkToward(*health, keys);
    } else if (const Cell* target = goal()) {
      walkToward(*target, keys);
    }
    castLastFrame_ = false;
    struckLastFrame_ = false;
    for (int key : keys) {
      castLastFrame_ |= key == game_.keyIgnis || key == game_.keyElectrica || key == game_.keyGlacies ||
                        key == game_.keyHerba;
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

namespace {

// Takes every object of this glyph on the level, nearest first.
bool takeAll(Autopilot& pilot, Game& game, char glyph, const std::string& what) {
  const auto left = [&game, glyph] {
    return std::count_if(game.mapObjects.begin(), game.mapObjects.end(),
                         [glyph](const MapObject& o) { return o.glyph == glyph; });
  };
  const int level = game.levelIndex;
  return pilot.run("take " + what, [&] { return left() == 0 || game.levelIndex != level; },
                   [&pilot, glyph] { return pilot.nearestObject(glyph); }, 8000);
}

bool killAll(Autopilot& pilot, Game& game) {
  return pilot.run("kill every enemy", [&] { return game.enemies.empty(); }, [&] { return pilot.nearestEnemy(); },
                   20000);
}

bool goThrough(Autopilot& pilot, Game& game, char portal, int toLevel) {
  return pilot.run(std::string("go through the portal ") + portal, [&] { return game.levelIndex == toLevel; },
                   [&pilot, portal] { return pilot.nearestObject(portal); }, 8000);
}

}  // namespace

bool playWholeRoute(Autopilot& pilot, Game& game) {
  const auto none = []() -> const Cell* { return nullptr; };
  if (!pilot.frameWith({vk::kEnter}) || game.inFrontEnd) {
    return pilot.run("start the game from the title", [] { return false; }, none, 0);
  }
  return takeAll(pilot, game, 'S', "IGNIS") && takeAll(pilot, game, 'B', "HERBA") &&
         takeAll(pilot, game, 'L', "ELECTRICA") && takeAll(pilot, game, 'k', "GLACIES") && killAll(pilot, game) &&
         goThrough(pilot, game, 'O', 1) &&
         takeAll(pilot, game, 'S', "the second IGNIS") && takeAll(pilot, game, 'B', "the second HERBA") &&
         takeAll(pilot, game, 'L', "the second ELECTRICA") && takeAll(pilot, game, 'k', "the second GLACIES") &&
         takeAll(pilot, game, 'm', "the mana potion") && killAll(pilot, game) && goThrough(pilot, game, 'O', 2);
}

}  // namespace veldra::testing
