#include "core/key_names.h"

#include <cctype>

#include "platform/keyboard.h"

namespace veldra {
namespace {

struct NamedKey {
  std::int32_t key;
  std::string_view name;
};

// The keys that are not letters or digits. The punctuation keys carry the US layout's
// unshifted character and the Windows codes of the keys in those places.
constexpr NamedKey kNamedKeys[] = {
    {vk::kUp, "UP"},
    {vk::kDown, "DOWN"},
    {vk::kLeft, "LEFT"},
    {vk::kRight, "RIGHT"},
    {vk::kSpace, "SPACE"},
    {vk::kEnter, "ENTER"},
    {vk::kBackspace, "BACKSPACE"},
    {vk::kLeftShift, "LEFT SHIFT"},
    {vk::kRightShift, "RIGHT SHIFT"},
    {vk::kLeftControl, "LEFT CTRL"},
    {vk::kRightControl, "RIGHT CTRL"},
    {vk::kLeftAlt, "LEFT ALT"},
    {vk::kRightAlt, "RIGHT ALT"},
    {vk::kSemicolon, ";"},
    {vk::kEquals, "="},
    {vk::kComma, ","},
    {vk::kMinus, "-"},
    {vk::kPeriod, "."},
    {vk::kSlash, "/"},
    {vk::kBackquote, "`"},
    {vk::kLeftBracket, "["},
    {vk::kBackslash, "\\"},
    {vk::kRightBracket, "]"},
    {vk::kQuote, "'"},
    {vk::kLeftButton, "MOUSE LEFT"},
    {vk::kRightButton, "MOUSE RIGHT"},
    {vk::kPadA, "PAD A"},
    {vk::kPadB, "PAD B"},
    {vk::kPadX, "PAD X"},
    {vk::kPadY, "PAD Y"},
    {vk::kPadLeftShoulder, "PAD LEFT SHOULDER"},
    {vk::kPadRightShoulder, "PAD RIGHT SHOULDER"},
    {vk::kPadLeftTrigger, "PAD LEFT TRIGGER"},
    {vk::kPadRightTrigger, "PAD RIGHT TRIGGER"},
    {vk::kPadUp, "PAD UP"},
    {vk::kPadDown, "PAD DOWN"},
    {vk::kPadLeft, "PAD LEFT"},
    {vk::kPadRight, "PAD RIGHT"},
    {vk::kPadLeftStickButton, "PAD LEFT STICK"},
    {vk::kPadRightStickButton, "PAD RIGHT STICK"},
    {vk::kPadLeftStickUp, "PAD LEFT STICK UP"},
    {vk::kPadLeftStickDown, "PAD LEFT STICK DOWN"},
    {vk::kPadLeftStickLeft, "PAD LEFT STICK LEFT"},
    {vk::kPadLeftStickRight, "PAD LEFT STICK RIGHT"},
    {vk::kEscape, "ESC"},
    {vk::kTab, "TAB"},
    {vk::kPadStart, "PAD START"},
    {vk::kPadBack, "PAD BACK"},
};

// One character of each letter and digit, for names of one letter.
constexpr std::string_view kLettersAndDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

bool isDigitKey(std::int32_t key) { return key >= '0' && key <= '9'; }

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

// "LEFT ALT" as "Left Alt": each word's first letter kept, the rest lower case.
std::string titleCase(std::string_view name) {
  std::string out(name);
  bool wordStart = true;
  for (char& c : out) {
    if (!wordStart) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    wordStart = c == ' ';
  }
  return out;
}

}  // namespace

bool keyIsLetter(std::int32_t key) { return key >= 'A' && key <= 'Z'; }

std::string_view keyName(std::int32_t key) {
  if (keyIsLetter(key)) return kLettersAndDigits.substr(static_cast<std::size_t>(key - 'A'), 1);
  if (isDigitKey(key)) return kLettersAndDigits.substr(static_cast<std::size_t>(key - '0' + 26), 1);
  for (const NamedKey& named : kNamedKeys) {
    if (named.key == key) return named.name;
  }
  return {};
}

std::int32_t keyNamed(std::string_view name) {
  if (name.size() == 1) {
    const int c = std::toupper(static_cast<unsigned char>(name[0]));
    if (keyIsLetter(c) || isDigitKey(c)) return c;
  }
  for (const NamedKey& named : kNamedKeys) {
    if (sameName(named.name, name)) return named.key;
  }
  return kNoKey;
}

bool keyIsFixed(std::int32_t key) {
  return key == vk::kP || key == vk::kX || key == vk::kEscape || key == vk::kTab || key == vk::kPadStart ||
         key == vk::kPadBack;
}

bool keyIsPadKey(std::int32_t key) { return key >= vk::kFirstPadKey && key <= vk::kLastPadKey; }

bool keyIsLoneModifier(std::int32_t key) { return key >= vk::kLeftShift && key <= vk::kRightAlt; }

bool keyIsMouseButton(std::int32_t key) { return key == vk::kLeftButton || key == vk::kRightButton; }

std::string settingsKeyName(std::int32_t key) { return titleCase(keyName(key)); }

std::string shortKeyName(std::int32_t key) {
  std::string name = settingsKeyName(key);
  // A side's modifier: "Left Ctrl" as "L Ctrl". The arrows are one word and stay.
  if (keyIsMouseButton(key) || keyIsPadKey(key)) return name;
  if (name.rfind("Left ", 0) == 0) name.replace(0, 4, "L");
  else if (name.rfind("Right ", 0) == 0) name.replace(0, 5, "R");
  return name;
}

std::string bindableKeyList() {
  return "a letter, a digit, Up, Down, Left, Right, Space, Enter, Backspace, Left Shift, Right Shift, Left Ctrl, "
         "Right Ctrl, Left Alt, Right Alt, one of ; = , - . / ` [ \\ ] ', Mouse Left, Mouse Right, or a pad's "
         "Pad A, Pad B, Pad X, Pad Y, Pad Left Shoulder, Pad Right Shoulder, Pad Left Trigger, Pad Right Trigger, "
         "Pad Up, Pad Down, Pad Left, Pad Right (the D-pad), Pad Left Stick, Pad Right Stick (pressed in), "
         "Pad Left Stick Up, Pad Left Stick Down, Pad Left Stick Left or Pad Left Stick Right";
}

}  // namespace veldra
