#include "frontend/front_end.h"

#include <array>
#include <string_view>
#include <string>

#include "audio/sound_catalogue.h"
#include "core/game.h"
#include "platform/clock.h"
#include "core/presets.h"
#include "frontend/preset_label.h"
#include "render/frame_view.h"
#include "core/colours.h"

namespace veldra {
namespace {

constexpr std::uint16_t kFrontEndClear = colour::kBlack;
constexpr unsigned kChoicePauseMs = 200;

constexpr int kBannerTopRow = 2;
constexpr int kBannerHalfWidth = 22;
constexpr int kBannerRedFirst = 8;  // the E of the name is drawn red
constexpr int kBannerRedLast = 14;
constexpr std::uint16_t kBannerColour = colour::kLightCyan;
constexpr std::uint16_t kBannerAccent = colour::kLightRed;
constexpr std::array<std::string_view, 6> kBanner = {
    "  #    # ###### #      #####  #####   ####   ",
    "  #    # #      #      #    # #    # #    #  ",
    "  #    # #####  #      #    # #####  #    #  ",
    "   #  #  #      #      #    # #  #   ######  ",
    "   #  #  #      #      #    # #   #  #    #  ",
    "    ##   ###### ###### #####  #    # #    #  ",
};

constexpr int kTitleTopRow = 15;
constexpr std::array<std::string_view, 5> kTitleLines = {
    "--- PRESS ENTER TO START VELDRA! ---",
    "",
    "  [PRESS 'C' TO ENTER CONTROL CONFIGURATION]  ",
    "",
    "Use Esc or 'X' to Quit and 'P' to Pause!",
};
constexpr std::array<std::uint16_t, 3> kStartLineColours = {colour::kLightGreen, colour::kLightCyan, colour::kLightBlue};
constexpr unsigned kStartLineStepMs = 250;
constexpr unsigned kConfigLineBlinkMs = 500;
constexpr std::uint16_t kConfigLineOn = colour::kYellow;
constexpr std::uint16_t kConfigLineOff = colour::kBrown;
constexpr std::uint16_t kQuitLineColour = colour::kGrey;

constexpr int kHeaderRow = 9;
constexpr std::string_view kPresetHeader = "=== CHOOSE YOUR CORE GAME CONTROLS PRESET ===";
constexpr std::uint16_t kHeaderColour = colour::kLightCyan;
constexpr int kPresetTopRow = 11;
constexpr int kPresetRowStep = 2;
constexpr std::array<std::string_view, 3> kPresetLines = {
    " PRESET A: Retro Classic (Arrows, Ctrl, Space, E, Alt)",
    " PRESET B: WASD Modern RPG (WASD, R Shift, Space, R Alt, R Ctrl)",
    " [BACK TO MAIN MENU] ",
};
constexpr std::string_view kSelectedPrefix = " > ";
constexpr std::string_view kOtherPrefix = "   ";
constexpr std::uint16_t kSelectedColour = colour::kLightGreen;
constexpr std::uint16_t kOtherColour = colour::kGrey;
constexpr int kPresetChoiceA = 0;
constexpr int kPresetChoiceB = 1;
constexpr int kMenuLines = 3;

void drawBanner(const FrameView& frame) {
  const int left = frame.width / 2 - kBannerHalfWidth;
  for (std::size_t i = 0; i < kBanner.size(); ++i) {
    for (std::size_t k = 0; k < kBanner[i].size(); ++k) {
      const bool accent = k >= kBannerRedFirst && k <= kBannerRedLast;
      frame.put(left + static_cast<int>(k), kBannerTopRow + static_cast<int>(i), kBanner[i][k],
                 accent ? kBannerAccent : kBannerColour);
    }
  }
}

void putCentred(const FrameView& frame, int row, std::string_view text, std::uint16_t attribute) {
  const int start = frame.width / 2 - static_cast<int>(text.size()) / 2;
  for (std::size_t k = 0; k < text.size(); ++k) frame.put(start + static_cast<int>(k), row, text[k], attribute);
}

void drawTitlePage(const FrameView& frame, std::uint32_t ticks) {
  const std::array<std::uint16_t, 5> colours = {
      kStartLineColours[(ticks / kStartLineStepMs) % kStartLineColours.size()], colour::kBlack,
      (ticks / kConfigLineBlinkMs) % 2 == 0 ? kConfigLineOn : kConfigLineOff, colour::kBlack, kQuitLineColour};
  for (std::size_t i = 0; i < kTitleLines.size(); ++i) {
    putCentred(frame, kTitleTopRow + static_cast<int>(i), kTitleLines[i], colours[i]);
  }
}

// A preset's label: the shipped text while its keys are the shipped ones.
std::string presetLine(int n, const BindingTable& bindings) {
  if (n >= kPresetCount || bindings.presets[n] == defaultBindings().presets[n]) return std::string(kPresetLines[n]);
  return presetLabel(n, bindings.presets[n]);
}

void drawPresetPage(const FrameView& frame, int menuCursor, const BindingTable& bindings) {
  // Placed by buffer index, clipped only at the buffer's ends: a window narrower than the
  // header lets it run on into the next row.
  const int headerColumn = frame.width / 2 - static_cast<int>(kPresetHeader.size()) / 2;
  frame.putByIndex(frame.indexOf(headerColumn, kHeaderRow), kPresetHeader, kHeaderColour);
  for (int n = 0; n < kMenuLines; ++n) {
    const bool selected = n == menuCursor;
    std::string line(selected ? kSelectedPrefix : kOtherPrefix);
    line += presetLine(n, bindings);
    putCentred(frame, kPresetTopRow + kPresetRowStep * n, line, selected ? kSelectedColour : kOtherColour);
  }
}

void updateTitlePage(Game& game) {
  if (game.command.start) {
    game.inFrontEnd = false;
    play(game.sound, sounds::kTitleStart);
    platform::sleepMilliseconds(kChoicePauseMs);
    return;
  }
  const bool configDown = game.command.presetPage;
  if (configDown && !game.configKeyHeld) {
    game.menuPage = kPresetPage;
    game.menuCursor = 0;
    play(game.sound, sounds::kPresetPageOpen);
  }
  game.configKeyHeld = configDown;
}

void updatePresetPage(Game& game) {
  const bool up = game.command.menuUp;
  const bool down = game.command.menuDown;
  if (up && !game.menuUpHeld) {
    game.menuCursor = (game.menuCursor + kMenuLines - 1) % kMenuLines;
    play(game.sound, sounds::kMenuUp);
  }
  if (down && !game.menuDownHeld) {
    game.menuCursor = (game.menuCursor + 1) % kMenuLines;
    play(game.sound, sounds::kMenuDown);
  }
  game.menuUpHeld = up;
  game.menuDownHeld = down;
  if (!game.command.choose) return;
  if (game.menuCursor == kPresetChoiceA) {
    applyPresetA(game);
    play(game.sound, sounds::kPresetChosen);
  } else if (game.menuCursor == kPresetChoiceB) {
    applyPresetB(game);
    play(game.sound, sounds::kPresetChosen);
  } else {
    play(game.sound, sounds::kMenuBack);
  }
  game.menuPage = kTitlePage;
  platform::sleepMilliseconds(kChoicePauseMs);
}

}  // namespace

void drawFrontEnd(ConsoleScreen& screen, int menuPage, int menuCursor) {
  drawFrontEnd(screen, menuPage, menuCursor, defaultBindings());
}

void drawFrontEnd(ConsoleScreen& screen, int menuPage, int menuCursor, const BindingTable& bindings) {
  const FrameSize size = queryFrameSize(screen);
  if (!prepareFrame(screen, size, kFrontEndClear)) return;
  const FrameView frame{screen.cells.get(), size.width, size.height};
  drawBanner(frame);
  if (menuPage == kTitlePage) {
    drawTitlePage(frame, platform::tickCount());
  } else {
    drawPresetPage(frame, menuCursor, bindings);
  }
  writeFrame(screen, size);
}

void updateFrontEnd(Game& game) {
  if (game.command.quit) {
    game.running = false;
    return;
  }
  if (game.menuPage == kTitlePage) {
    updateTitlePage(game);
  } else {
    updatePresetPage(game);
  }
}

}  // namespace veldra
