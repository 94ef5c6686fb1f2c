#pragma once
// Keyboard state. Virtual-key codes use the Windows numbering on every platform: it is the
// game's numbering. The keys of a frame are read once, into the frame record taken at the
// top of the frame (frame_input.h); every key test of that frame reads that record.

#include <cstdint>

namespace veldra::platform {

constexpr int kVirtualKeyCount = 256;

// The virtual-key codes the game and its backends name.
namespace vk {
constexpr int kLeftButton = 1;   // the mouse's buttons, as the Windows key-state call names them
constexpr int kRightButton = 2;
constexpr int kBackspace = 8;
constexpr int kTab = 9;
constexpr int kEnter = 13;
constexpr int kShift = 16;
constexpr int kControl = 17;
constexpr int kAlt = 18;
constexpr int kEscape = 27;
constexpr int kSpace = 32;
constexpr int kLeft = 37;
constexpr int kUp = 38;
constexpr int kRight = 39;
constexpr int kDown = 40;
constexpr int kA = 65;
constexpr int kC = 67;
constexpr int kD = 68;
constexpr int kE = 69;
constexpr int kF = 70;
constexpr int kJ = 74;
constexpr int kK = 75;
constexpr int kL = 76;
constexpr int kP = 80;
constexpr int kQ = 81;
constexpr int kR = 82;
constexpr int kS = 83;
constexpr int kW = 87;
constexpr int kX = 88;
constexpr int kLeftShift = 160;
constexpr int kRightShift = 161;
constexpr int kLeftControl = 162;
constexpr int kRightControl = 163;
constexpr int kLeftAlt = 164;
constexpr int kRightAlt = 165;
// The punctuation keys, by the US layout's characters in their places.
constexpr int kSemicolon = 186;
constexpr int kEquals = 187;
constexpr int kComma = 188;
constexpr int kMinus = 189;
constexpr int kPeriod = 190;
constexpr int kSlash = 191;
constexpr int kBackquote = 192;
constexpr int kLeftBracket = 219;
constexpr int kBackslash = 220;
constexpr int kRightBracket = 221;
constexpr int kQuote = 222;
// A gamepad's buttons, and its left stick pushed past the dead zone, as Windows numbers
// them (VK_GAMEPAD_*): a pad is read into the same key table as the keyboard.
constexpr int kPadA = 0xC3;
constexpr int kPadB = 0xC4;
constexpr int kPadX = 0xC5;
constexpr int kPadY = 0xC6;
constexpr int kPadRightShoulder = 0xC7;
constexpr int kPadLeftShoulder = 0xC8;
constexpr int kPadLeftTrigger = 0xC9;
constexpr int kPadRightTrigger = 0xCA;
constexpr int kPadUp = 0xCB;  // the D-pad
constexpr int kPadDown = 0xCC;
constexpr int kPadLeft = 0xCD;
constexpr int kPadRight = 0xCE;
constexpr int kPadStart = 0xCF;  // "menu"
constexpr int kPadBack = 0xD0;   // "view", "select"
constexpr int kPadLeftStickButton = 0xD1;
constexpr int kPadRightStickButton = 0xD2;
constexpr int kPadLeftStickUp = 0xD3;
constexpr int kPadLeftStickDown = 0xD4;
constexpr int kPadLeftStickRight = 0xD5;
constexpr int kPadLeftStickLeft = 0xD6;
constexpr int kFirstPadKey = kPadA;
constexpr int kLastPadKey = kPadLeftStickLeft;
}  // namespace vk

// Whether there is a keyboard to read at all: false only where the game has no terminal (or
// console) to take keys from. A recording's player serves keys itself, so there is one then.
bool keyboardAvailable();

// Whether this frame's key state is exact: every press and release is seen, lone modifier
// keys included (the Windows console, a terminal speaking a keyboard protocol, the X
// server's key map). False on terminals that only send the characters keys type, where
// lone Ctrl, Alt and Shift are never seen and only the last key pressed repeats.
bool keysExact();

// Whether letter keys are read by where they sit on the keyboard (the US layout's letter in
// that place), wherever the keys come with their place; set once, before start.
void readLettersByPosition(bool byPosition);
bool lettersByPosition();

// Whether the key is down in this frame (codes outside the table never are).
bool keyDown(int virtualKey);

}  // namespace veldra::platform

namespace veldra {
// The game names keys and tests them as its own.
namespace vk = platform::vk;
using platform::keyDown;
}  // namespace veldra
