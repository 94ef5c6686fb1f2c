#pragma once
// What the player asks for in one frame: the frame record's keys and mouse read through the
// bindings in force, once, at the top of the player's step (player/bindings.cpp), as a
// classic engine turns its events into one command a tic. The player's and the front end's
// code read only this record, never a key; the latches that turn a held key into one press
// stay where they were, beside the code that acts on the press.

namespace veldra {

struct PlayerCommand {
  // Play, through the binding block, its aliases, the mouse's buttons and (where the keys
  // are not exact) the letters that stand in for lone modifier keys.
  bool forward = false;  // the forward key, or the mouse's right button
  bool back = false;
  bool turnLeft = false;
  bool turnRight = false;
  bool staff = false;  // the attack key (Right Ctrl too while it is Left Ctrl), or the left button
  bool ignis = false;
  bool glacies = false;
  bool electrica = false;  // Right Alt too while it is Left Alt
  bool herba = false;
  double mouseTurn = 0.0;  // radians, rightwards positive: the mouse's and the pad's right stick's
  int pointerEdge = 0;     // -1 while the pointer rests at the window's left edge, +1 at its right
  bool keysExact = false;  // the keys' state is exact (no stand-ins, no walk toggle)
  bool walkToggle = false;  // Tab, where the keys are not exact
  bool padPresent = false;  // a pad is plugged in
  bool padUsed = false;     // a pad's button or stick is held, or its right stick turns
  bool keysUsed = false;    // a key of the keyboard or a mouse button is held, or the mouse turns

  // The fixed keys.
  bool pause = false;  // P, or a pad's Start
  bool quit = false;   // Esc or X, or a pad's Back

  // The title and preset pages.
  bool start = false;       // Enter, or a pad's A
  bool presetPage = false;  // C
  bool menuUp = false;      // Up or W, or the pad's D-pad up
  bool menuDown = false;    // Down or S, or the D-pad down
  bool choose = false;      // Enter or Space, or a pad's A
};

}  // namespace veldra
