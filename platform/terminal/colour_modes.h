#pragma once
// How the console's sixteen colours reach a terminal. A terminal shows its own sixteen ANSI
// colours in whatever its theme says (a dim bright-black, a teal "black", an inverted light
// theme), so where it can take more the picture goes out in the game's own palette: as
// 24-bit RGB, or as the nearest entries of the xterm 256-colour palette. Pure.

#include <array>
#include <cstdint>
#include <string>

namespace veldra::platform::terminal {

enum class ColourMode { Sixteen, Palette256, TrueColour };

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  bool operator==(const Rgb&) const = default;
};

// The palette the game was drawn for: the long-standing default of the Windows text console
// (dark blue 000080, grey C0C0C0, bright red FF0000 ...), by console colour number (blue 1,
// green 2, red 4, bright 8). The console's later default (Campbell, 2017) softened these;
// the game's sky, fire and HUD were chosen against the classic ones.
extern const std::array<Rgb, 16> kConsolePalette;

// An xterm 256-colour entry as xterm shows it: 16 to 231 the 6 x 6 x 6 cube, 232 to 255 the
// grey ramp; 0 to 15 are the terminal's own sixteen, here the palette's.
Rgb xterm256Rgb(int index);

// The cube or grey-ramp entry nearest to a colour (the terminal's own sixteen are left
// out: they follow its theme).
int nearestXterm256(Rgb colour);

// The mode a terminal asks for through its environment, as terminals document it:
// COLORTERM "truecolor" or "24bit" for 24-bit colour, a TERM ending in "-256color" for 256;
// the Linux console (TERM "linux") and everything else keep their own sixteen. Null means
// unset.
ColourMode colourModeFor(const char* colorterm, const char* term);

// The SGR parameters that set one colour as foreground or background ("38;2;0;0;128").
std::string foregroundParameters(int colour, ColourMode mode);
std::string backgroundParameters(int colour, ColourMode mode);

}  // namespace veldra::platform::terminal
