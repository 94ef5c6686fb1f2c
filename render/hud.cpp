#include "render/hud.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <string_view>

#include "core/game.h"
#include "core/map_grid.h"
#include "core/spell_facts.h"
#include "render/angles.h"
#include "render/present_frame.h"
#include "core/colours.h"

namespace veldra {
namespace {

using platform::kFullBlock;

// Minimap.
constexpr int kMinimapReach = 6;          // cells each way from the player
constexpr int kMinimapCentreFromRight = 9;
constexpr int kMinimapCentreRow = 7;
constexpr int kMinimapMinWidth = 14;      // the frame must be wider than this
constexpr int kMinimapMinHeight = 14;
constexpr std::uint16_t kMinimapBorder = colour::kCyan;
constexpr std::uint16_t kMinimapWall = colour::kCyan;
constexpr std::uint16_t kMinimapFloor = colour::kGrey;
constexpr std::uint16_t kPlayerArrow = colour::kLightGreen;

// Level name.
constexpr int kNameRow = 1;
constexpr int kNameMinHeight = 5;
constexpr std::uint16_t kNameColour = colour::kLightCyan;

// Bars and spell lines.
constexpr int kStatusMinWidth = 40;
constexpr int kStatusMinHeight = 5;
constexpr int kStatusColumn = 2;
constexpr int kBarColumn = 6;
constexpr int kBarCells = 10;
constexpr int kBarNumbersColumn = 16;
constexpr int kHealthRow = 1;
constexpr int kManaRow = 2;
constexpr int kFirstSpellRow = 3;  // then a row a spell, in this order:
constexpr Spell kSpellLines[] = {Spell::Ignis, Spell::Electrica, Spell::Glacies, Spell::Herba};
constexpr std::uint16_t kHealthColour = colour::kLightRed;
constexpr std::uint16_t kHealthEmpty = colour::kRed;
constexpr std::uint16_t kHealthWarning = colour::on(colour::kLightRed, colour::kRed);
constexpr int kLowHealth = 25;
constexpr std::uint32_t kBurnBlinkPeriodMs = 200;
constexpr std::uint16_t kManaColour = colour::kLightBlue;
constexpr std::uint16_t kManaEmpty = colour::kBlue;
constexpr std::uint16_t kInfusionMarker = colour::kLightRed;
constexpr std::uint16_t kLocked = colour::kGrey;
constexpr std::uint16_t kGlaciesReadyColour = colour::kCyan;  // learned, not running: dimmer

// Pause box.
constexpr std::string_view kPauseTitle = "=== GAME PAUSED ===";
constexpr std::string_view kPausePrompt = "Press 'P' to Resume";
constexpr std::uint16_t kPauseBox = colour::on(colour::kBlack, colour::kGrey);
constexpr std::uint16_t kPauseTitleColour = colour::on(colour::kLightRed, colour::kGrey);
constexpr std::uint16_t kPausePromptColour = colour::on(colour::kBlue, colour::kGrey);  // dark blue on light grey

// Staff.
constexpr std::uint16_t kStaffColour = colour::on(colour::kLightRed, colour::kRed);
constexpr std::array<std::string_view, 9> kStaffArt = {
    "         /|      ", "        //|      ", "       ///       ", "      ///        ", "     ///         ",
    "  _ ///          ", " ( ' /           ", "  )|(            ", "  |_|            ",
};
struct Offset {
  int fromRight;
  int fromBottom;
};
// The top-left corner of the art at rest and through the four steps of a swing.
constexpr std::array<Offset, 5> kStaffPositions = {{{21, 9}, {33, 8}, {45, 11}, {39, 10}, {27, 9}}};

char playerArrow(double angle) {
  const double a = wrapToTwoPi(angle);
  constexpr double kEighth = std::numbers::pi / 4.0;
  if (a < kEighth) return '>';
  if (a < 3 * kEighth) return 'v';
  if (a < 5 * kEighth) return '<';
  if (a < 7 * kEighth) return '^';
  return '>';
}

int barCells(int value, int maximum) {
  double ratio = static_cast<double>(value) / maximum;
  if (std::isnan(ratio)) ratio = 0.0;  // 0 of 0
  return static_cast<int>(std::clamp(ratio, 0.0, 1.0) * kBarCells);
}

void drawBar(FrameView frame, int row, int value, int maximum, std::uint16_t full, std::uint16_t empty) {
  const int filled = barCells(value, maximum);
  for (int i = 0; i < kBarCells; ++i) {
    const std::string_view cell = i < filled ? std::string_view(&kFullBlock, 1) : std::string_view(".");
    frame.putByIndex(frame.indexOf(kBarColumn + i, row), cell, i < filled ? full : empty);
  }
}

std::string numbers(int value, int maximum) {
  std::string text = " ";
  text += std::to_string(value);
  text += '/';
  text += std::to_string(maximum);
  return text;
}

std::uint16_t healthLabelColour(const Game& game, std::uint32_t ticks) {
  if (game.hp <= kLowHealth) return kHealthWarning;
  const bool blinkOn = ticks % kBurnBlinkPeriodMs < kBurnBlinkPeriodMs / 2;
  if (blinkOn && game.hp < game.hpMax && game.burnCooldown > 0) return kHealthWarning;
  return kHealthColour;
}

std::string_view spellKeyName(const KeyNames& keys, Spell spell) {
  switch (spell) {
    case Spell::Ignis: return keys.ignis;
    case Spell::Glacies: return keys.glacies;
    case Spell::Electrica: return keys.electrica;
    case Spell::Herba: break;
  }
  return keys.herba;
}

// A line of the HUD, built in place (a frame allocates nothing); a line longer than any the
// HUD writes is cut.
class HudLine {
 public:
  HudLine& operator<<(std::string_view text) {
    const std::size_t room = chars_.size() - size_;
    const std::size_t taken = std::min(room, text.size());
    std::copy_n(text.data(), taken, chars_.data() + size_);
    size_ += taken;
    return *this;
  }
  std::string_view text() const { return {chars_.data(), size_}; }

 private:
  std::array<char, 96> chars_{};
  std::size_t size_ = 0;
};

// A spell's line: locked, learned with its key (and "++" upgraded), or the running shield.
HudLine spellLine(const Game& game, const SpellKind& spell, const KeyNames& keys) {
  HudLine line;
  if (spell.spell == Spell::Glacies && game.glaciesActive) {
    line << (game.glaciesUpgraded ? "[GLACIES] [ACTIVE] ++" : "[GLACIES] [ACTIVE]");
  } else if (!(game.*spell.learned)) {
    line << "[" << spell.name << "]: [LOCKED]";
  } else {
    line << spell.hudLabel << "(" << spellKeyName(keys, spell.spell) << ")";
    if (game.*spell.upgraded) line << " ++";
  }
  return line;
}

std::uint16_t spellLineColour(const Game& game, const SpellKind& spell) {
  if (!(game.*spell.learned) && !(spell.spell == Spell::Glacies && game.glaciesActive)) return kLocked;
  if (spell.spell == Spell::Glacies && !game.glaciesActive) return kGlaciesReadyColour;
  return spell.colour;
}

// In row order: a line too long for a narrow frame runs on into the next row, which the
// next line then writes over.
void drawSpellLines(FrameView frame, const Game& game, const KeyNames& keys) {
  int row = kFirstSpellRow;
  for (const Spell spell : kSpellLines) {
    const SpellKind& kind = spellKind(spell);
    frame.putByIndex(frame.indexOf(kStatusColumn, row++), spellLine(game, kind, keys).text(),
                     spellLineColour(game, kind));
  }
}

}  // namespace

void drawMinimap(FrameView frame, const Game& game, const std::vector<MapObject>& sprites) {
  if (!(frame.width - kMinimapMinWidth > 0 && frame.height > kMinimapMinHeight)) return;
  const int playerColumn = static_cast<int>(game.playerX);
  const int playerRow = static_cast<int>(game.playerY);
  for (int dy = -kMinimapReach; dy <= kMinimapReach; ++dy) {
    for (int dx = -kMinimapReach; dx <= kMinimapReach; ++dx) {
      const int column = frame.width - kMinimapCentreFromRight + dx;
      const int row = kMinimapCentreRow + dy;
      if (!frame.contains(column, row)) continue;
      if (std::abs(dx) == kMinimapReach || std::abs(dy) == kMinimapReach) {
        frame.put(column, row, '+', kMinimapBorder);
        continue;
      }
      const int gridX = playerColumn + dx;
      const int gridY = playerRow + dy;
      if (gridX < 0 || gridY < 0 || gridX >= game.mapWidth || gridY >= game.mapHeight) continue;
      if (dx == 0 && dy == 0) {
        frame.put(column, row, playerArrow(game.playerAngle), kPlayerArrow);
        continue;
      }
      const char c = cellAt(game, gridX, gridY);
      if (c == kWallCell) frame.put(column, row, kWallCell, kMinimapWall);
      else if (c == kFloorCell) frame.put(column, row, ' ', kMinimapFloor);
      else frame.put(column, row, c, kMinimapFloor);
    }
  }
  // Then the sprites on the grid cells shown, in the list's order: the last on a cell wins.
  for (const MapObject& sprite : sprites) {
    const int gridX = static_cast<int>(sprite.x);
    const int gridY = static_cast<int>(sprite.y);
    const int dx = gridX - playerColumn;
    const int dy = gridY - playerRow;
    if (std::abs(dx) >= kMinimapReach || std::abs(dy) >= kMinimapReach || (dx == 0 && dy == 0)) continue;
    if (gridX < 0 || gridY < 0 || gridX >= game.mapWidth || gridY >= game.mapHeight) continue;
    const int column = frame.width - kMinimapCentreFromRight + dx;
    const int row = kMinimapCentreRow + dy;
    if (frame.contains(column, row)) frame.put(column, row, sprite.glyph, sprite.colour & 0xFF);
  }
}

void drawLevelName(FrameView frame, const Game& game) {
  if (!(frame.width - kMinimapMinWidth > 0 && frame.height > kNameMinHeight)) return;
  const int length = static_cast<int>(game.levelName.size());
  const int start = std::max(frame.width - 8 - length / 2, frame.width - kMinimapMinWidth);
  for (int k = 0; k < length && start + k < frame.width; ++k) {
    frame.put(start + k, kNameRow, game.levelName[k], kNameColour);
  }
}

void drawStatus(FrameView frame, const Game& game, const KeyNames& keyNames, std::uint32_t ticks) {
  if (!(frame.width > kStatusMinWidth && frame.height > kStatusMinHeight)) return;
  frame.putByIndex(frame.indexOf(kStatusColumn, kHealthRow), std::string_view("HP: "), healthLabelColour(game, ticks));
  drawBar(frame, kHealthRow, game.hp, game.hpMax, kHealthColour, kHealthEmpty);
  frame.putByIndex(frame.indexOf(kBarNumbersColumn, kHealthRow), numbers(game.hp, game.hpMax), kHealthColour);

  frame.putByIndex(frame.indexOf(kStatusColumn, kManaRow), std::string_view("MP: "), kManaColour);
  drawBar(frame, kManaRow, game.mp, game.mpMax, kManaColour, kManaEmpty);
  const std::string mana = numbers(game.mp, game.mpMax);
  frame.putByIndex(frame.indexOf(kBarNumbersColumn, kManaRow), mana, kManaColour);
  const int markerColumn = kBarNumbersColumn + 1 + static_cast<int>(mana.size());
  if (game.mpMax == kManaInfusionCap && markerColumn < frame.width) {
    frame.putByIndex(frame.indexOf(markerColumn, kManaRow), std::string_view("-"), kInfusionMarker);
  }
  drawSpellLines(frame, game, keyNames);
}

void drawPauseBox(FrameView frame) {
  const int boxWidth = static_cast<int>(std::max(kPauseTitle.size(), kPausePrompt.size())) + 4;
  const int centreColumn = frame.width / 2;
  const int centreRow = frame.height / 2;
  for (int row = centreRow - 2; row <= centreRow + 2; ++row) {
    for (int column = centreColumn - boxWidth / 2; column < centreColumn - boxWidth / 2 + boxWidth; ++column) {
      frame.put(column, row, ' ', kPauseBox);
    }
  }
  const int textColumn = centreColumn - static_cast<int>(kPauseTitle.size()) / 2;
  for (std::size_t k = 0; k < kPauseTitle.size(); ++k) {
    frame.put(textColumn + static_cast<int>(k), centreRow - 1, kPauseTitle[k], kPauseTitleColour);
    frame.put(textColumn + static_cast<int>(k), centreRow + 1, kPausePrompt[k], kPausePromptColour);
  }
}

void drawStaff(FrameView frame, int attackFrame) {
  const Offset offset = attackFrame >= 1 && attackFrame <= 4 ? kStaffPositions[attackFrame] : kStaffPositions[0];
  const int left = frame.width - offset.fromRight;
  const int top = frame.height - offset.fromBottom;
  for (std::size_t line = 0; line < kStaffArt.size(); ++line) {
    for (std::size_t k = 0; k < kStaffArt[line].size(); ++k) {
      if (kStaffArt[line][k] == ' ') continue;
      frame.put(left + static_cast<int>(k), top + static_cast<int>(line), kStaffArt[line][k], kStaffColour);
    }
  }
}

}  // namespace veldra
