#pragma once
// Every key the game can bind, with its one name: the HUD's spelling ("SPACE", "LEFT ALT",
// "RIGHT CTRL", "/"). The settings file takes the same names in any case ("Left Alt") and
// prints them in title case; the preset page shortens a side's modifier to "L Alt"/"R Alt".

#include <cstdint>
#include <string>
#include <string_view>

namespace veldra {

constexpr std::int32_t kNoKey = 0;

// The HUD's name of a key the game can bind, or of a fixed key (Esc, Tab, P, X); empty for
// any other code.
std::string_view keyName(std::int32_t key);

// The key a name names, in any case and with spaces as written ("left alt", "Mouse Left"),
// or kNoKey.
std::int32_t keyNamed(std::string_view name);

// Whether the key may be bound at all: P, X, Esc and Tab are the pause, the quit and the
// walk, and a pad's Start and Back its pause and quit: never bound.
bool keyIsFixed(std::int32_t key);

// Whether the key is a pad's button or its left stick's direction.
bool keyIsPadKey(std::int32_t key);

// Whether the key is one of the mouse's buttons (bound like keys, never named on the
// preset page).
bool keyIsMouseButton(std::int32_t key);

// Whether the key is a lone Shift, Ctrl or Alt of one side (never seen where the keys are
// not exact: such a binding has a letter standing in for it).
bool keyIsLoneModifier(std::int32_t key);

// Whether the key is a letter A to Z (the ones a terminal without a keyboard protocol
// sends as typed).
bool keyIsLetter(std::int32_t key);

// The name as the settings file prints it: "Left Alt", "Space", "Mouse Left", "/".
std::string settingsKeyName(std::int32_t key);

// The name as the preset page writes it: "R Shift", "Space", "E", "Up".
std::string shortKeyName(std::int32_t key);

// Every key that can be bound, in the table's order (for listing what is allowed).
std::string bindableKeyList();

}  // namespace veldra
