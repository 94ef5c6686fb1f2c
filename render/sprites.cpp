#include "render/sprites.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>

#include "core/game.h"
#include "core/object_kinds.h"
#include "core/spell_facts.h"
#include "core/random_draws.h"
#include "render/angles.h"
#include "core/colours.h"

namespace veldra {
namespace {

constexpr int kDebrisPerFastBolt = 5;
constexpr double kDebrisSpread = 0.4;
constexpr std::uint16_t kPointColour = colour::kLightGreen;
constexpr std::uint16_t kHealthLabelColour = colour::kLightRed;
constexpr int kMaxLabelHealth = 255;

// Sprites a little wider than half the view are still drawn where they straddle its edge.
constexpr double kEdgeWidening = 1.8;
constexpr double kNearestSprite = 0.3;

bool isPoint(char glyph) {
  const ObjectKind* kind = objectKind(glyph);
  return kind != nullptr && kind->look == SpriteLook::Point;
}

// Where a world position lies in the view: its distance and its angle from the view line.
struct ViewPlacement {
  double distance;
  double relativeAngle;
};

bool inView(const ViewPlacement& p, const ConsoleScreen& screen) {
  return std::fabs(p.relativeAngle) < screen.fieldOfView / kEdgeWidening && p.distance > kNearestSprite &&
         p.distance < screen.maxDepth;
}

// Most of a level lies outside the view. The cone lets a frame pass over what lies clearly
// beside or behind the player with a product of the view direction, before the angle's
// arctangent is taken: only what is within a thousandth of a radian of the view's edge, or
// inside it, is placed exactly. The margin dwarfs the rounding of the angle's difference
// while the player's angle stays below a million radians (years of turning); past that,
// every position is placed exactly.
constexpr double kConeMargin = 1e-3;
constexpr double kLargestConeAngle = 1e6;

struct ViewCone {
  double cosine = 0.0;  // the view direction
  double sine = 0.0;
  double outerCosine = -2.0;  // the cosine of the edge and its margin; below -1 nothing is passed over
};

ViewCone viewCone(const Game& game, const ConsoleScreen& screen) {
  ViewCone cone;
  const double outer = screen.fieldOfView / kEdgeWidening + kConeMargin;
  if (std::fabs(game.playerAngle) > kLargestConeAngle || !(outer < std::numbers::pi)) return cone;
  cone.cosine = std::cos(game.playerAngle);
  cone.sine = std::sin(game.playerAngle);
  cone.outerCosine = std::cos(outer);
  return cone;
}

// The position's place in the view, when it is in view.
std::optional<ViewPlacement> placeInView(const Game& game, const ConsoleScreen& screen, const ViewCone& cone,
                                         double x, double y) {
  const double dx = x - game.playerX;
  const double dy = y - game.playerY;
  const double distance = std::sqrt(dx * dx + dy * dy);
  if (!(distance > kNearestSprite && distance < screen.maxDepth)) return std::nullopt;
  if (dx * cone.cosine + dy * cone.sine < distance * cone.outerCosine) return std::nullopt;
  const ViewPlacement p{distance, wrapToPi(std::atan2(dy, dx) - game.playerAngle)};
  if (!inView(p, screen)) return std::nullopt;
  return p;
}

int screenColumn(const ViewPlacement& p, const ConsoleScreen& screen, int width) {
  return static_cast<int>((p.relativeAngle / (screen.fieldOfView * 0.5) + 1.0) * width * 0.5);
}

void appendBolt(std::vector<MapObject>& sprites, const Projectile& bolt) {
  if (boltClass(bolt) == BoltClass::Electrica) {
    sprites.push_back({bolt.x, bolt.y, kLightningGlyph, spellKind(Spell::Electrica).colour});
  } else if (fasterThanElectrica(bolt)) {
    static constexpr char kDebris[] = {'.', ',', '`', '"'};
    const std::uint16_t colour = spellKind(Spell::Herba).colour;
    for (int i = 0; i < kDebrisPerFastBolt; ++i) {
      const double ox = randomSpread(kDebrisSpread);
      const double oy = randomSpread(kDebrisSpread);
      const char glyph = kDebris[randomBelow(4)];
      sprites.push_back({bolt.x + ox, bolt.y + oy, glyph, colour});
    }
    sprites.push_back({bolt.x, bolt.y, kBoltGlyph, colour});
  } else {
    sprites.push_back({bolt.x, bolt.y, kBoltGlyph, spellKind(Spell::Ignis).colour});
  }
}

// The enemy's health over its head, centred, cut to the columns the enemy covers. True when
// this column's label character was written (the enemy's own top cell then stays empty).
bool drawHealthLabel(FrameView frame, const MapObject& sprite, int column, int top, int centre) {
  const int labelRow = top - 1;
  if (labelRow < 0 || labelRow >= frame.height) return false;
  const std::string text = std::to_string(sprite.colour >> 8) + " HP";
  const int index = column - centre + static_cast<int>(text.size()) / 2;
  if (index < 0 || index >= static_cast<int>(text.size())) return false;
  frame.put(column, labelRow, text[index], kHealthLabelColour);
  return true;
}

void drawSprite(FrameView frame, const Game& game, const ConsoleScreen& screen, const ViewCone& cone,
                const MapObject& sprite, const std::vector<double>& depth) {
  const std::optional<ViewPlacement> placed = placeInView(game, screen, cone, sprite.x, sprite.y);
  if (!placed) return;
  const ViewPlacement& p = *placed;
  const int height = frame.height;
  const int width = frame.width;
  // The square is as tall as a wall slice at the same distance.
  const int top = static_cast<int>(height * 0.5 - height / p.distance);
  const int n = height - 2 * top;
  const int centre = screenColumn(p, screen, width);
  if (centre < -n || centre > width + n || n > 2 * width || n <= 0) return;
  const double half = n / 2.0;
  const bool point = isPoint(sprite.glyph);
  const ObjectKind* kind = objectKind(sprite.glyph);
  const double reach = shadedReach(kind, sprite.glyph);
  // Rows outside the frame, and the rows above where the look draws, never reach a shader.
  const double shadeTop = shadedTop(kind, sprite.glyph);
  int firstRow = std::max({0, -top, static_cast<int>(shadeTop * n) - 1});
  while (firstRow < n && static_cast<double>(firstRow) / n <= shadeTop) ++firstRow;
  const int lastRow = std::min(n - 1, height - 1 - top);
  for (int lx = 0; lx < n; ++lx) {
    const int column = centre - n / 2 + lx;
    if (column < 0 || column >= width || !(p.distance < depth[column])) continue;
    if (point) {
      // A point is one cell on the middle row, in the square's centre column.
      const int row = top + n / 2;
      if (lx == n / 2 && row >= 0 && row < height) frame.put(column, height / 2, sprite.glyph, kPointColour);
      continue;
    }
    const bool labelled = sprite.glyph == kEnemyGlyph && drawHealthLabel(frame, sprite, column, top, centre);
    const double u = std::fabs(lx - half) / half;
    if (u >= reach) continue;
    for (int ly = firstRow; ly <= lastRow; ++ly) {
      if (ly == 0 && labelled) continue;
      const SpriteCell cell{u, static_cast<double>(ly) / n, lx, ly, n};
      if (const Shade shade = shadeSprite(kind, sprite.glyph, sprite.colour, cell); shade.visible()) {
        frame.put(column, top + ly, shade.c, shade.attribute);
      }
    }
  }
}

}  // namespace

std::vector<MapObject> buildSpriteList(const Game& game) {
  std::vector<MapObject> sprites;
  buildSpriteList(game, sprites);
  return sprites;
}

void buildSpriteList(const Game& game, std::vector<MapObject>& sprites) {
  sprites.assign(game.mapObjects.begin(), game.mapObjects.end());
  for (const Enemy& enemy : game.enemies) {
    if (!enemy.alive) continue;
    const int label = std::clamp(enemy.hp, 0, kMaxLabelHealth);
    sprites.push_back({enemy.x, enemy.y, kEnemyGlyph, static_cast<std::uint16_t>(label << 8 | enemy.colour)});
  }
  for (const Projectile& bolt : game.projectiles) appendBolt(sprites, bolt);
}

void sortFarthestFirst(std::vector<MapObject>& sprites, double playerX, double playerY) {
  SpriteOrder order;
  sortFarthestFirst(sprites, playerX, playerY, order);
}

namespace {

// An insertion sort gives up after this many steps a sprite: the order it started from was
// not nearly right (a new level, a crowd of bolts), and the standard sort is quicker then.
constexpr std::size_t kInsertionStepsPerSprite = 4;

// Farthest first, from the order the last frame found: the sprites come in nearly that order
// again, so few of them move. False when it gave up.
bool insertionSortFarthestFirst(std::vector<std::uint32_t>& order, const std::vector<double>& distances) {
  std::size_t steps = kInsertionStepsPerSprite * order.size();
  for (std::size_t i = 1; i < order.size(); ++i) {
    const std::uint32_t moving = order[i];
    std::size_t j = i;
    for (; j > 0 && distances[order[j - 1]] < distances[moving]; --j) {
      if (steps-- == 0) return false;
      order[j] = order[j - 1];
    }
    order[j] = moving;
  }
  return true;
}

bool strictlyFarthestFirst(const std::vector<std::uint32_t>& order, const std::vector<double>& distances) {
  for (std::size_t i = 1; i < order.size(); ++i) {
    if (!(distances[order[i - 1]] > distances[order[i]])) return false;
  }
  return true;
}

}  // namespace

// Where no two sprites are equally far, there is one order farthest first, found here from
// the last frame's. Where two are (or a distance is not a number), the standard sort of the
// list as built decides their order, as it always has.
void sortFarthestFirst(std::vector<MapObject>& sprites, double playerX, double playerY, SpriteOrder& scratch) {
  std::vector<double>& distances = scratch.distances;
  std::vector<std::uint32_t>& order = scratch.order;
  distances.clear();
  for (const MapObject& s : sprites) {
    distances.push_back((s.x - playerX) * (s.x - playerX) + (s.y - playerY) * (s.y - playerY));
  }
  const auto asBuilt = [&] {
    order.resize(sprites.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<std::uint32_t>(i);
  };
  if (order.size() != sprites.size()) asBuilt();
  if (!insertionSortFarthestFirst(order, distances) || !strictlyFarthestFirst(order, distances)) {
    asBuilt();
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) { return distances[a] > distances[b]; });
  }
  scratch.sorted.clear();
  for (const std::uint32_t i : order) scratch.sorted.push_back(sprites[i]);
  sprites.swap(scratch.sorted);
}

void drawSprites(FrameView frame, const Game& game, const ConsoleScreen& screen,
                 const std::vector<MapObject>& sprites, const std::vector<double>& depth) {
  const ViewCone cone = viewCone(game, screen);
  for (const MapObject& sprite : sprites) drawSprite(frame, game, screen, cone, sprite, depth);
}

void drawParticles(FrameView frame, const Game& game, const ConsoleScreen& screen, const std::vector<double>& depth) {
  const ViewCone cone = viewCone(game, screen);
  for (const Particle& particle : game.particles) {
    const std::optional<ViewPlacement> p = placeInView(game, screen, cone, particle.x, particle.y);
    if (!p) continue;
    const int column = screenColumn(*p, screen, frame.width);
    const int row = frame.height / 2;
    if (frame.contains(column, row) && p->distance < depth[column]) frame.put(column, row, 'x', particle.colour);
  }
}

}  // namespace veldra
