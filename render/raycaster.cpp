#include "render/raycaster.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "core/console_screen.h"
#include "core/game.h"
#include "core/level_loader.h"
#include "core/map_grid.h"
#include "core/object_kinds.h"
#include "core/random_draws.h"
#include "render/angles.h"
#include "core/colours.h"

namespace veldra {
namespace {

constexpr double kNoDeltaStep = 1e30;  // a ray parallel to an axis never crosses that axis's lines
constexpr double kNearestSliceDistance = 0.1;
constexpr std::uint16_t kWallAttribute = colour::kGrey;
constexpr std::uint16_t kCeilingAttribute = colour::kBlack;

// Torch light, by squared distance from the torch to the hit cell's corner.
constexpr double kTorchBrightRange = 2.25;
constexpr double kTorchDimRange = 9.0;
constexpr std::uint16_t kTorchBrightAttribute = colour::kYellow;
constexpr std::uint16_t kTorchDimAttribute = colour::kRed;

// The outdoor sky.
constexpr double kCloudDriftMsPerRadian = 36000.0;
constexpr double kSunHalfWidth = 0.08;
constexpr int kSunRow = 2;
constexpr std::uint16_t kSunAttribute = colour::on(colour::kYellow, colour::kBrown);
constexpr double kCloudHalfWidth = 0.35;
constexpr int kCloudTopRow = 2;
constexpr std::uint16_t kCloudAttribute = colour::on(colour::kWhite, colour::kBlue);
constexpr std::uint16_t kHillAttribute = colour::kGreen;
constexpr std::uint16_t kSkyAttribute = colour::on(colour::kLightBlue, colour::kBlue);
using platform::kFullBlock;
constexpr char kUpperHalfBlock = '\xDF';

constexpr std::uint16_t kOutdoorFloor = colour::kGreen;
constexpr std::uint16_t kIndoorFloor = colour::kBrown;
constexpr std::uint16_t kPlainFloor = colour::kGrey;

// The rain.
constexpr int kRainDrops = 25;
constexpr double kRainSlowest = 3.65;  // rows per frame
constexpr double kRainSpread = 2.15;
constexpr double kRainNearWall = 4.5;
constexpr std::uint16_t kRainColour = colour::kLightBlue;
constexpr std::uint16_t kRainSplashColour = colour::kCyan;
constexpr int kRainSplashPercent = 60;

// The cloud's direction drifts with the clock; the sun stays at angle 0.
double cloudDirection(std::uint32_t ticks) {
  return std::numbers::pi / 2.0 - std::fmod(static_cast<double>(ticks) / kCloudDriftMsPerRadian, kTwoPi);
}

int hillTop(double rayAngle, int height) {
  const double a = wrapToTwoPi(rayAngle);
  return static_cast<int>((height * 0.5 - 2.0) - (1.5 * std::sin(3.5 * a) + 0.8 * std::cos(1.5 * a)));
}

double cloudBottom(int column) { return 4.0 + 0.8 * std::sin(0.4 * column); }

// The sun's and the cloud's place against the column, and the hills' top there.
void placeSky(ColumnRay& ray, double rayAngle, double cloud, int height) {
  const double a = wrapToTwoPi(rayAngle);
  if (ray.hillRows != height) {
    ray.hillTop = hillTop(rayAngle, height);
    ray.hillRows = height;
  }
  ray.sunOffset = wrapToPi(a);
  ray.cloudOffset = wrapToPi(a - cloud);
}

// The column's ray as kept from the frames before, found anew where its angle changed.
ColumnRay& columnRay(std::vector<ColumnRay>& rays, int column, double rayAngle) {
  ColumnRay& ray = rays[static_cast<std::size_t>(column)];
  if (!(ray.angle == rayAngle)) {
    ray.angle = rayAngle;
    ray.cosine = std::cos(rayAngle);
    ray.sine = std::sin(rayAngle);
    ray.hillRows = -1;
  }
  return ray;
}

void fitColumnRays(std::vector<ColumnRay>& rays, int width) {
  if (rays.size() == static_cast<std::size_t>(width)) return;
  rays.assign(static_cast<std::size_t>(width), ColumnRay{});
  for (int column = 0; column < width; ++column) rays[static_cast<std::size_t>(column)].cloudBottom = cloudBottom(column);
}

// The open sky's character of a row, by its height in the upper half of the frame.
char plainSkyCharacter(int row, int height) {
  const double v = row / (height * 0.5);
  return v <= 0.35 ? kFullBlock : v <= 0.65 ? 'x' : '.';
}

CHAR_INFO cellOf(char c, std::uint16_t attribute) {
  CHAR_INFO cell{};
  cell.Char.AsciiChar = c;
  cell.Attributes = attribute;
  return cell;
}

// A column's sky, rows [0, wallTop), its cells a stride apart: the sun before the cloud, the
// cloud before the hills, the hills before the plain sky, so each is painted over the next.
// `plainSky` holds each row's plain-sky cell for the first `tabled` rows.
void paintSkyColumn(CHAR_INFO* cells, int stride, const ColumnRay& sky, int wallTop, const CHAR_INFO* plainSky,
                    int tabled, int height) {
  const auto at = [&](int row) -> CHAR_INFO& { return cells[static_cast<std::ptrdiff_t>(row) * stride]; };
  const int hillStart = std::clamp(sky.hillTop, 0, wallTop);
  for (int row = 0; row < hillStart; ++row) {
    at(row) = row < tabled ? plainSky[row] : cellOf(plainSkyCharacter(row, height), kSkyAttribute);
  }
  for (int row = hillStart; row < wallTop; ++row) at(row) = cellOf(row == sky.hillTop ? 'n' : '#', kHillAttribute);
  if (std::fabs(sky.cloudOffset) < kCloudHalfWidth) {
    for (int row = kCloudTopRow; row < wallTop && row <= sky.cloudBottom; ++row) {
      at(row) = cellOf(row == kCloudTopRow ? kFullBlock : kUpperHalfBlock, kCloudAttribute);
    }
  }
  if (std::fabs(sky.sunOffset) < kSunHalfWidth && kSunRow < wallTop) at(kSunRow) = cellOf(kFullBlock, kSunAttribute);
}

char floorCharacter(int row, int height) {
  const double b = 1.0 - (row - height * 0.5) / (height * 0.5);
  if (b < 0.25) return '#';
  if (b < 0.5) return 'x';
  if (b < 0.75) return '.';
  return ' ';
}

std::uint16_t floorAttribute(Theme theme) {
  switch (theme) {
    case Theme::Outdoor: return kOutdoorFloor;
    case Theme::Indoor: return kIndoorFloor;
    case Theme::Plain: return kPlainFloor;
  }
  return kPlainFloor;
}

struct WallSlice {
  char c;
  std::uint16_t attribute;
};

// The frame's torches, in build order: found once, since every column's wall asks.
void findTorches(const std::vector<MapObject>& sprites, std::vector<const MapObject*>& torches) {
  torches.clear();
  for (const MapObject& sprite : sprites) {
    if (hasRole(sprite.glyph, ObjectRole::Torch)) torches.push_back(&sprite);
  }
}

// A later torch's colour wins over an earlier one's.
WallSlice lightByTorches(WallSlice slice, const RayHit& hit, const std::vector<const MapObject*>& torches) {
  for (const MapObject* torch : torches) {
    const double dx = hit.cellX - torch->x;
    const double dy = hit.cellY - torch->y;
    const double q = dx * dx + dy * dy;
    if (q <= kTorchBrightRange) {
      slice = {'@', kTorchBrightAttribute};
    } else if (q <= kTorchDimRange) {
      if (slice.c != '@') slice.c = 'X';
      slice.attribute = kTorchDimAttribute;
    }
  }
  return slice;
}

double rainSpeed() { return kRainSlowest + randomShareOf(kRainSpread); }

}  // namespace

RayHit castRay(const Game& game, double x, double y, double angle, double maxDepth) {
  return castRayAlong(game, x, y, std::cos(angle), std::sin(angle), maxDepth);
}

namespace {

// A ray's march from cell to cell, one grid line crossed a step: the cell it is in, and how
// far along the ray the next vertical and horizontal grid lines lie.
struct RayMarch {
  int mapX = 0;
  int mapY = 0;
  double deltaX = 0.0;  // the ray's length between two vertical lines, and between two horizontal
  double deltaY = 0.0;
  int stepX = 1;
  int stepY = 1;
  double sideX = 0.0;
  double sideY = 0.0;
  bool alongX = false;  // the last step crossed a vertical line
};

RayMarch startMarch(double x, double y, double dx, double dy) {
  RayMarch m;
  m.mapX = static_cast<int>(x);
  m.mapY = static_cast<int>(y);
  m.deltaX = dx == 0.0 ? kNoDeltaStep : std::fabs(1.0 / dx);
  m.deltaY = dy == 0.0 ? kNoDeltaStep : std::fabs(1.0 / dy);
  m.stepX = dx < 0.0 ? -1 : 1;
  m.stepY = dy < 0.0 ? -1 : 1;
  m.sideX = dx < 0.0 ? (x - m.mapX) * m.deltaX : (m.mapX + 1.0 - x) * m.deltaX;
  m.sideY = dy < 0.0 ? (y - m.mapY) * m.deltaY : (m.mapY + 1.0 - y) * m.deltaY;
  return m;
}

void stepMarch(RayMarch& m) {
  m.alongX = m.sideX < m.sideY;
  if (m.alongX) {
    m.sideX += m.deltaX;
    m.mapX += m.stepX;
  } else {
    m.sideY += m.deltaY;
    m.mapY += m.stepY;
  }
}

// The hit on the cell the march has just entered: how far along the ray it entered it.
RayHit hitAt(const RayMarch& m, double maxDepth) {
  const double distance = m.alongX ? m.sideX - m.deltaX : m.sideY - m.deltaY;
  return {distance > maxDepth ? maxDepth : distance, m.mapX, m.mapY};
}

}  // namespace

RayHit castRayAlong(const Game& game, double x, double y, double dx, double dy, double maxDepth) {
  RayMarch m = startMarch(x, y, dx, dy);
  // The march reads the grid itself, as isWallCell does. (Inside the grid, a cell past the
  // grid string's end is floor.)
  const std::string& grid = game.mapGrid;
  const auto gridWidth = static_cast<std::size_t>(game.mapWidth);
  // No step limit: every step moves one cell, so the march ends at a wall or the grid's edge.
  for (;;) {
    stepMarch(m);
    if (m.mapX < 0 || m.mapY < 0 || m.mapX >= game.mapWidth || m.mapY >= game.mapHeight) {
      return {maxDepth, m.mapX, m.mapY};
    }
    const std::size_t index = static_cast<std::size_t>(m.mapY) * gridWidth + static_cast<std::size_t>(m.mapX);
    if (index < grid.size() && grid[index] == kWallCell) return hitAt(m, maxDepth);
  }
}

namespace {
enum MarchCell : std::uint8_t { kMarchFloor = 0, kMarchWall = 1, kMarchOutside = 2 };
}  // namespace

void fitMarchGrid(MarchGrid& grid, const Game& game) {
  if (grid.width == game.mapWidth && grid.height == game.mapHeight && grid.source == game.mapGrid) return;
  grid.source = game.mapGrid;
  grid.width = std::max(game.mapWidth, 0);
  grid.height = std::max(game.mapHeight, 0);
  const auto stride = static_cast<std::size_t>(grid.width) + 2;
  grid.cells.assign(stride * (static_cast<std::size_t>(grid.height) + 2), kMarchOutside);
  for (int y = 0; y < grid.height; ++y) {
    for (int x = 0; x < grid.width; ++x) {
      const std::size_t index = static_cast<std::size_t>(y) * static_cast<std::size_t>(grid.width) + x;
      const bool wall = index < game.mapGrid.size() && game.mapGrid[index] == kWallCell;
      grid.cells[(static_cast<std::size_t>(y) + 1) * stride + static_cast<std::size_t>(x) + 1] =
          wall ? kMarchWall : kMarchFloor;
    }
  }
}

RayHit castRayThrough(const MarchGrid& grid, const Game& game, double x, double y, double dx, double dy,
                      double maxDepth) {
  // From outside the grid the first step may not land on its ring: the plain march knows.
  if (!(x >= 0.0 && y >= 0.0) || static_cast<int>(x) >= grid.width || static_cast<int>(y) >= grid.height) {
    return castRayAlong(game, x, y, dx, dy, maxDepth);
  }
  RayMarch m = startMarch(x, y, dx, dy);
  const std::ptrdiff_t stride = grid.width + 2;
  const std::ptrdiff_t rowStep = m.stepY * stride;
  const std::uint8_t* cell = grid.cells.data() + (m.mapY + 1) * stride + (m.mapX + 1);
  // Every step moves one cell, and the ring stops the march when it leaves the grid.
  for (;;) {
    stepMarch(m);
    cell += m.alongX ? m.stepX : rowStep;
    if (*cell == kMarchFloor) continue;
    if (*cell == kMarchOutside) return {maxDepth, m.mapX, m.mapY};
    return hitAt(m, maxDepth);
  }
}

char wallCharacter(double distance, double maxDepth) {
  if (distance <= 0.15 * maxDepth) return '@';
  if (distance < 0.35 * maxDepth) return 'X';
  if (distance < 0.6 * maxDepth) return 'x';
  if (distance < 0.8 * maxDepth) return '.';
  return ' ';
}

namespace {
void drawWallsWith(FrameView frame, const Game& game, const ConsoleScreen& screen,
                   const std::vector<MapObject>& sprites, std::uint32_t ticks, std::vector<double>& depth,
                   std::vector<const MapObject*>& torches, std::vector<ColumnRay>& rays, MarchGrid& grid);
}  // namespace

std::vector<double> drawWalls(FrameView frame, const Game& game, const ConsoleScreen& screen,
                              const std::vector<MapObject>& sprites, std::uint32_t ticks) {
  std::vector<double> depth;
  std::vector<const MapObject*> torches;
  std::vector<ColumnRay> rays;
  MarchGrid grid;
  drawWallsWith(frame, game, screen, sprites, ticks, depth, torches, rays, grid);
  return depth;
}

void drawWalls(FrameView frame, const Game& game, ConsoleScreen& screen, const std::vector<MapObject>& sprites,
               std::uint32_t ticks, std::vector<double>& depth) {
  drawWallsWith(frame, game, screen, sprites, ticks, depth, screen.torches, screen.columnRays, screen.marchGrid);
}

namespace {

void drawWallsWith(FrameView frame, const Game& game, const ConsoleScreen& screen,
                   const std::vector<MapObject>& sprites, std::uint32_t ticks, std::vector<double>& depth,
                   std::vector<const MapObject*>& torches, std::vector<ColumnRay>& rays, MarchGrid& grid) {
  const int width = frame.width;
  const int height = frame.height;
  depth.assign(static_cast<std::size_t>(width), screen.maxDepth);
  const Theme theme = themeOf(game.themeLetter);
  const std::uint16_t floorColour = floorAttribute(theme);
  const double cloud = cloudDirection(ticks);
  findTorches(sprites, torches);
  // What depends on the row alone, found once a frame rather than once a cell (a frame
  // taller than the table finds its lower rows' floor and sky again each time).
  std::array<CHAR_INFO, kMaxGameRows> floorRow{};
  std::array<CHAR_INFO, kMaxGameRows> skyRow{};
  const int tabled = std::min(height, kMaxGameRows);
  for (int row = 0; row < tabled; ++row) {
    floorRow[row] = cellOf(floorCharacter(row, height), floorColour);
    skyRow[row] = cellOf(plainSkyCharacter(row, height), kSkyAttribute);
  }
  const auto floorAt = [&](int row) {
    return row < tabled ? floorRow[row] : cellOf(floorCharacter(row, height), floorColour);
  };
  fitColumnRays(rays, width);
  fitMarchGrid(grid, game);
  for (int column = 0; column < width; ++column) {
    const double rayAngle =
        game.playerAngle - screen.fieldOfView * 0.5 + (static_cast<double>(column) / width) * screen.fieldOfView;
    ColumnRay& ray = columnRay(rays, column, rayAngle);
    const RayHit hit =
        castRayThrough(grid, game, game.playerX, game.playerY, ray.cosine, ray.sine, screen.maxDepth);
    depth[column] = hit.distance;
    const double sliceDistance = hit.distance < kNearestSliceDistance ? kNearestSliceDistance : hit.distance;
    const int ceiling = static_cast<int>(height * 0.5 - height / sliceDistance);
    const int floor = height - ceiling;
    const WallSlice slice =
        lightByTorches({wallCharacter(hit.distance, screen.maxDepth), kWallAttribute}, hit, torches);
    if (theme == Theme::Outdoor) placeSky(ray, rayAngle, cloud, height);
    ray.wallTop = std::clamp(ceiling, 0, height);
    ray.floorTop = std::clamp(floor + 1, ray.wallTop, height);
    ray.wall = cellOf(slice.c, slice.attribute);
  }
  // Above each column's wall the sky or the ceiling, the wall's slice, below it the floor:
  // painted a column at a time, each part a run of cells with no test between them.
  const CHAR_INFO ceilingCell = cellOf(' ', kCeilingAttribute);
  for (int column = 0; column < width; ++column) {
    const ColumnRay& ray = rays[static_cast<std::size_t>(column)];
    CHAR_INFO* cell = &frame.at(column, 0);
    int row = 0;
    if (theme == Theme::Outdoor) {
      paintSkyColumn(cell, width, ray, ray.wallTop, skyRow.data(), tabled, height);
      row = ray.wallTop;
      cell += static_cast<std::ptrdiff_t>(row) * width;
    } else {
      for (; row < ray.wallTop; ++row, cell += width) *cell = ceilingCell;
    }
    for (; row < ray.floorTop; ++row, cell += width) *cell = ray.wall;
    for (const int tabledEnd = std::max(row, tabled); row < tabledEnd; ++row, cell += width) *cell = floorRow[row];
    for (; row < height; ++row, cell += width) *cell = floorAt(row);
  }
}

}  // namespace

void drawRain(FrameView frame, ConsoleScreen& screen, const std::vector<double>& depth) {
  const int width = frame.width;
  const int height = frame.height;
  if (!screen.rainStarted || screen.rainDrops.empty()) {
    screen.rainDrops.clear();
    for (int i = 0; i < kRainDrops; ++i) {
      RainDrop drop;
      drop.column = randomBelow(width);
      drop.row = randomBelow(height);
      drop.speed = rainSpeed();
      screen.rainDrops.push_back(drop);
    }
    screen.rainStarted = true;
  }
  for (RainDrop& drop : screen.rainDrops) {
    drop.row += drop.speed;
    if (static_cast<int>(drop.row) >= height) {
      drop.column = randomBelow(width);
      drop.row = 0.0;
      drop.speed = rainSpeed();
    }
    const int row = static_cast<int>(drop.row);
    if (!frame.contains(drop.column, row)) continue;  // a drop left outside by a shrunken window
    // Before a near wall only the drops high in the sky show.
    if (depth[drop.column] <= kRainNearWall && row >= height / 2 - 2) continue;
    CHAR_INFO& cell = frame.at(drop.column, row);
    std::uint16_t colour = kRainColour;
    if (row > height - 3 && randomChance(kRainSplashPercent)) colour = kRainSplashColour;
    cell.Char.AsciiChar = '.';
    cell.Attributes = static_cast<std::uint16_t>((cell.Attributes & ~0xFu) | colour);
  }
}

}  // namespace veldra
