#pragma once
// Where keys sit: the keys of a keyboard's main block by their scan code (the PC's set 1,
// which the Windows console and win32-input-mode report, and which the X server's key codes
// carry 8 above), named by the US layout's key in that place. Read so, W/A/S/D are the same
// four keys on AZERTY, QWERTZ or Dvorak.

namespace veldra::platform {

constexpr int kX11KeycodeOfScanCode = 8;  // an evdev key code is the scan code plus 8

// The US layout's key (a letter, a digit or a punctuation key) at this scan code, or 0 for
// a place outside the main block's letters, digits and punctuation.
int usKeyAtScanCode(int scanCode);

// Every scan code of the table, for a backend that maps each place once.
constexpr int kFirstPlacedScanCode = 0x02;
constexpr int kLastPlacedScanCode = 0x35;

}  // namespace veldra::platform
