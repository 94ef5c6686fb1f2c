#pragma once
// The cell buffer every picture is composed in, with the view parameters and the console
// it is written to.

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "platform/console.h"
#include "core/colours.h"
#include "core/records.h"

namespace veldra {

struct RainDrop {
  std::int32_t column = 0;
  double row = 0.0;    // screen rows, fractional
  double speed = 0.0;  // rows per frame
};

// A column of the view. What its ray takes from its angle alone (its direction, and outdoors
// the hills' top there) and from its place alone (the clouds' lower edge) is kept from frame
// to frame: a column's angle stays the same while the player does not turn. The wall's slice
// is this frame's.
struct ColumnRay {
  double angle = std::numeric_limits<double>::quiet_NaN();  // what the direction and hills were found for
  double cosine = 0.0;
  double sine = 0.0;
  int hillRows = -1;  // the frame height the hills' top was found for; -1 before it was
  int hillTop = 0;
  double cloudBottom = 0.0;

  double sunOffset = 0.0;  // outdoors, this frame's angles from the sun and the cloud
  double cloudOffset = 0.0;
  int wallTop = 0;  // the rows of the wall's slice, [wallTop, floorTop)
  int floorTop = 0;
  CHAR_INFO wall{};
};

// The level's grid as the view's rays march it: a byte a cell, inside a ring of cells that
// mark the outside, so that a step needs one look instead of four bounds and the grid's
// length. Built again whenever the level's grid is not the one it was built from.
struct MarchGrid {
  std::string source;  // the grid it was built from
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> cells;  // (width + 2) x (height + 2), row by row
};

// The frame's sort of its sprites: their squared distances, the order found (kept for the
// next frame, which starts from it) and the list in that order.
struct SpriteOrder {
  std::vector<double> distances;
  std::vector<std::uint32_t> order;
  std::vector<MapObject> sorted;
};

struct ConsoleScreen {
  double fieldOfView = 0.7853981633974483;  // radians (pi / 4)
  double maxDepth = 32.0;                   // cells
  platform::ConsoleHandle output;
  std::unique_ptr<CHAR_INFO[]> cells;
  std::int32_t cellCount = 0;
  std::vector<RainDrop> rainDrops;
  bool rainStarted = false;

  // What composing a frame needs beside the cells, kept from frame to frame so that a
  // steady frame allocates nothing: the sprite list, each column's wall distance, the
  // torches among the sprites, a message line padded for printing.
  std::vector<MapObject> sprites;
  SpriteOrder spriteOrder;
  std::vector<double> depth;
  std::vector<const MapObject*> torches;
  std::vector<ColumnRay> columnRays;
  MarchGrid marchGrid;
  std::string messageLine;

  ConsoleScreen();   // hides the console cursor
  ~ConsoleScreen();  // shows it again
  ConsoleScreen(const ConsoleScreen&) = delete;
  ConsoleScreen& operator=(const ConsoleScreen&) = delete;
};

// Frame shape: the visible window, or 80 x 25 when there is no console.
struct FrameSize {
  int width = 80;
  int height = 25;
};
FrameSize queryFrameSize(const ConsoleScreen& screen);
constexpr int kMaxGameColumns = 120;
constexpr int kMaxGameRows = 50;
FrameSize capFrameSize(FrameSize size);  // at most kMaxGameColumns x kMaxGameRows for game frames

// Makes `cells` hold exactly width * height cells (reusing the array when the count is the
// same) and clears them to spaces in `attribute`. False when the frame has no cells.
bool prepareFrame(ConsoleScreen& screen, FrameSize size, std::uint16_t attribute);
// The same without the clearing, for a picture that paints every cell anew.
bool sizeFrame(ConsoleScreen& screen, FrameSize size);

// Writes the composed frame to the console in one call.
void writeFrame(const ConsoleScreen& screen, FrameSize size);

}  // namespace veldra
