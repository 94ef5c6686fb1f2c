#include "platform/terminal/key_decoder.h"

#include "platform/key_places.h"

#include <utility>
#include <vector>

namespace veldra::platform::terminal {
namespace {

constexpr char kEscape = '\x1b';

constexpr int kNoKey = -1;

// Keyboard-protocol key numbers of the modifier keys.
constexpr int kKittyLeftShift = 57441;
constexpr int kKittyLeftControl = 57442;
constexpr int kKittyLeftAlt = 57443;
constexpr int kKittyRightShift = 57447;
constexpr int kKittyRightControl = 57448;
constexpr int kKittyRightAlt = 57449;
constexpr int kKittyLevel3Shift = 57453;  // AltGr on many layouts

// win32-input-mode's key events: CSI Vk ; Sc ; Uc ; Kd ; Cs ; Rc _ with the Windows
// virtual-key code, scan code, character, down (1) or up (0), control-key state and repeat
// count. Left and right Shift differ in the scan code, left and right Ctrl and Alt in the
// enhanced-key flag.
constexpr char kWin32EventFinal = '_';
constexpr int kWin32RightShiftScanCode = 0x36;
constexpr int kWin32EnhancedKey = 0x0100;
constexpr int kWin32CtrlPressed = 0x0004 | 0x0008;  // right or left

// Modifier bits of the protocol's modifier field (which is 1 + the bits).
constexpr int kModifierControl = 4;
constexpr int kReleasesFlag = 2;  // in the protocol's flags: event types are reported

enum class Event { Press, Repeat, Release };

// A character as the key that types it.
int keyForCharacter(int c) {
  if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
  if (c >= 'A' && c <= 'Z') return c;
  if (c >= '0' && c <= '9') return c;
  switch (c) {
    case ' ': return vk::kSpace;
    case '\r':
    case '\n': return vk::kEnter;
    case '\t': return vk::kTab;
    case 0x7F:
    case 0x08: return vk::kBackspace;
    case ';':
    case ':': return vk::kSemicolon;
    case '=':
    case '+': return vk::kEquals;
    case ',':
    case '<': return vk::kComma;
    case '-':
    case '_': return vk::kMinus;
    case '.':
    case '>': return vk::kPeriod;
    case '/':
    case '?': return vk::kSlash;
    case '`':
    case '~': return vk::kBackquote;
    case '[':
    case '{': return vk::kLeftBracket;
    case '\\':
    case '|': return vk::kBackslash;
    case ']':
    case '}': return vk::kRightBracket;
    case '\'':
    case '"': return vk::kQuote;
    case kEscape: return vk::kEscape;
  }
  return kNoKey;
}

int keyForProtocolNumber(int number) {
  switch (number) {
    case kKittyLeftShift: return vk::kLeftShift;
    case kKittyRightShift: return vk::kRightShift;
    case kKittyLeftControl: return vk::kLeftControl;
    case kKittyRightControl: return vk::kRightControl;
    case kKittyLeftAlt: return vk::kLeftAlt;
    case kKittyRightAlt:
    case kKittyLevel3Shift: return vk::kRightAlt;
  }
  if (number >= 0 && number < 128) return keyForCharacter(number);
  return kNoKey;
}

int keyForArrow(char final) {
  switch (final) {
    case 'A': return vk::kUp;
    case 'B': return vk::kDown;
    case 'C': return vk::kRight;
    case 'D': return vk::kLeft;
  }
  return kNoKey;
}

void pressLegacy(KeyboardState& state, int key, std::uint32_t now) {
  if (key == kNoKey) return;
  state.latched[key] = true;
  state.heldOnce[key] = true;
  noteKeyByte(state.held[key], state.repeatTiming, now, state.lastByteKey != key);
  state.lastByteKey = key;
}

void applyEvent(KeyboardState& state, int key, Event event, std::uint32_t now) {
  if (key == kNoKey) return;
  if (event == Event::Release) {
    state.reportsReleases = true;
    state.exactDown[key] = false;
    state.held[key] = HeldKey{};
    return;
  }
  // Without releases a press could never end: such terminals get the timed hold.
  if (!state.reportsReleases) {
    pressLegacy(state, key, now);
    return;
  }
  state.exactDown[key] = true;
  if (event == Event::Press) state.latched[key] = true;
}

int keyForWin32(int virtualKey, int scanCode, int controlState) {
  const bool enhanced = (controlState & kWin32EnhancedKey) != 0;
  switch (virtualKey) {
    case vk::kShift: return scanCode == kWin32RightShiftScanCode ? vk::kRightShift : vk::kLeftShift;
    case vk::kControl: return enhanced ? vk::kRightControl : vk::kLeftControl;
    case vk::kAlt: return enhanced ? vk::kRightAlt : vk::kLeftAlt;
  }
  return virtualKey > 0 && virtualKey < kVirtualKeyCount ? virtualKey : kNoKey;
}

void releaseEverything(KeyboardState& state) {
  for (int key = 0; key < kVirtualKeyCount; ++key) {
    state.exactDown[key] = false;
    state.held[key] = HeldKey{};
  }
  state.pointer.leftDown = state.pointer.rightDown = false;
  state.pointer.known = false;  // the pointer comes back wherever it comes back
}

// The numbers of a parameter field "a:b;c:d" as fields of sub-numbers; empty ones are -1.
std::vector<std::vector<int>> parseParameters(std::string_view text) {
  std::vector<std::vector<int>> fields(1, std::vector<int>(1, -1));
  for (char c : text) {
    if (c == ';') {
      fields.emplace_back(1, -1);
    } else if (c == ':') {
      fields.back().push_back(-1);
    } else if (c >= '0' && c <= '9') {
      int& value = fields.back().back();
      if (value < 0) value = 0;
      if (value < 10000000) value = value * 10 + (c - '0');
    }
  }
  return fields;
}

int fieldValue(const std::vector<std::vector<int>>& fields, std::size_t field, std::size_t sub, int fallback) {
  if (field >= fields.size() || sub >= fields[field].size() || fields[field][sub] < 0) return fallback;
  return fields[field][sub];
}

Event eventOf(const std::vector<std::vector<int>>& fields) {
  switch (fieldValue(fields, 1, 1, 1)) {
    case 2: return Event::Repeat;
    case 3: return Event::Release;
    default: return Event::Press;
  }
}

void applyWin32Event(KeyboardState& state, const std::vector<std::vector<int>>& fields) {
  state.win32Events = true;
  const int virtualKey = fieldValue(fields, 0, 0, 0);
  const int controlState = fieldValue(fields, 4, 0, 0);
  const int scanCode = fieldValue(fields, 1, 0, 0);
  const int placed = state.keysByPosition ? usKeyAtScanCode(scanCode) : 0;
  const int key = placed != 0 ? placed : keyForWin32(virtualKey, scanCode, controlState);
  if (key == kNoKey) return;
  if (fieldValue(fields, 3, 0, 0) != 1) {
    state.exactDown[key] = false;
    return;
  }
  // A key held down repeats its down event; only the first is a press.
  if (!state.exactDown[key]) state.latched[key] = true;
  state.exactDown[key] = true;
  if ((controlState & kWin32CtrlPressed) != 0) {
    if (key == 'C') state.interruptRequested = true;
    if (key == 'Z') state.suspendRequested = true;
  }
}

// SGR mouse reports: CSI < button ; column ; row M (press or motion) or m (release).
constexpr int kMouseMotionBit = 32;
constexpr int kMouseWheelBit = 64;
constexpr int kMouseButtonMask = 3;
constexpr int kMouseLeft = 0;
constexpr int kMouseRight = 2;

void applyMouseReport(KeyboardState& state, std::string_view parameters, char final) {
  const auto fields = parseParameters(parameters);
  const int button = fieldValue(fields, 0, 0, -1);
  const int x = fieldValue(fields, 1, 0, -1);
  if (button < 0 || x < 1 || (button & kMouseWheelBit) != 0) return;
  PointerState& pointer = state.pointer;
  const double column = pointer.cellWidthPixels > 0 ? (x - 1) / static_cast<double>(pointer.cellWidthPixels) : x - 1;
  if (pointer.known) pointer.columnsMoved += column - pointer.column;
  pointer.column = column;
  pointer.known = true;
  if ((button & kMouseMotionBit) != 0) return;
  const bool down = final == 'M';
  const int which = button & kMouseButtonMask;
  if (which == kMouseLeft) {
    pointer.leftDown = down;
    if (down) state.latched[vk::kLeftButton] = true;
  } else if (which == kMouseRight) {
    pointer.rightDown = down;
    if (down) state.latched[vk::kRightButton] = true;
  }
}

// The answer to a mode query (DECRQM): CSI ? mode ; status $ y, status 1 or 2 where the
// terminal knows the mode.
constexpr int kPixelMouseMode = 1016;
void applyModeReport(KeyboardState& state, std::string_view parameters) {
  const auto fields = parseParameters(parameters);
  const int status = fieldValue(fields, 1, 0, 0);
  const int mode = fieldValue(fields, 0, 0, 0);
  if (mode == kPixelMouseMode && (status == 1 || status == 2)) state.pointer.pixelReportsOffered = true;
  // Only a terminal that has the mode set plays sound: one that merely knows a mode of
  // that number (reset, 2) is some other terminal's.
  if (mode == kTerminalSoundMode) state.playsSound = status == 1;
}

void handleControlSequence(KeyboardState& state, std::string_view parameters, char final, std::uint32_t now) {
  if (!parameters.empty() && parameters[0] == '<') {
    if (final == 'M' || final == 'm') applyMouseReport(state, parameters.substr(1), final);
    return;
  }
  if (!parameters.empty() && parameters[0] == '?') {
    if (final == 'y' && parameters.back() == '$') {
      applyModeReport(state, parameters.substr(1));
      return;
    }
    // The primary device attributes, CSI ? ... c: the terminal has taken everything sent
    // before the query that asked for them.
    if (final == 'c') {
      ++state.deviceAttributeAnswers;
      return;
    }
    // The answer to the protocol query: its flags say whether releases will come.
    if (final == 'u') {
      const int flags = fieldValue(parseParameters(parameters.substr(1)), 0, 0, 0);
      state.reportsReleases = (flags & kReleasesFlag) != 0;
      // Keys held exactly would wait for releases that no longer come.
      if (!state.reportsReleases && !state.stateFromOutside) {
        for (bool& down : state.exactDown) down = false;
      }
    }
    return;
  }
  if (parameters.empty() && final == 'O') {  // the window lost focus: no key stays held
    state.focus = TerminalFocus::Out;
    releaseEverything(state);
    return;
  }
  if (parameters.empty() && final == 'I') {
    state.focus = TerminalFocus::In;
    return;
  }
  const auto fields = parseParameters(parameters);
  if (final == kWin32EventFinal) {
    applyWin32Event(state, fields);
    return;
  }
  const Event event = eventOf(fields);
  if (final == 'u') {
    const int number = fieldValue(fields, 0, 0, kNoKey);
    const int modifiers = fieldValue(fields, 1, 0, 1) - 1;
    if (event == Event::Press && (modifiers & kModifierControl) != 0) {
      if (number == 'c') state.interruptRequested = true;
      if (number == 'z') state.suspendRequested = true;
    }
    // The key in the US layout's place comes third (CSI key:shifted:base u) where asked for.
    const int base = state.keysByPosition ? fieldValue(fields, 0, 2, kNoKey) : kNoKey;
    applyEvent(state, keyForProtocolNumber(base != kNoKey ? base : number), event, now);
    return;
  }
  const int arrow = keyForArrow(final);
  if (arrow != kNoKey) applyEvent(state, arrow, event, now);
}

// Decodes one complete sequence or byte at `at`; returns the bytes used, or 0 when the
// sequence is not complete yet.
std::size_t decodeOne(KeyboardState& state, std::string_view input, std::size_t at, std::uint32_t now) {
  const char c = input[at];
  if (c != kEscape) {
    pressLegacy(state, keyForCharacter(static_cast<unsigned char>(c)), now);
    return 1;
  }
  if (at + 1 >= input.size()) return 0;
  const char next = input[at + 1];
  if (next == '[') {
    for (std::size_t end = at + 2; end < input.size(); ++end) {
      const unsigned char b = static_cast<unsigned char>(input[end]);
      if (b >= 0x40 && b <= 0x7E) {
        handleControlSequence(state, input.substr(at + 2, end - at - 2), static_cast<char>(b), now);
        return end - at + 1;
      }
      if (b < 0x20 || b > 0x3F) return end - at;  // not a sequence after all: drop what was read
    }
    return 0;
  }
  if (next == 'O') {
    if (at + 2 >= input.size()) return 0;
    const int arrow = keyForArrow(input[at + 2]);
    if (arrow != kNoKey) pressLegacy(state, arrow, now);
    return 3;
  }
  if (next == kEscape) {
    pressLegacy(state, vk::kEscape, now);
    return 1;
  }
  // Alt and a character: the character's key.
  pressLegacy(state, keyForCharacter(static_cast<unsigned char>(next)), now);
  return 2;
}

}  // namespace

void beginRead(KeyboardState& state) {
  for (bool& latch : state.latched) latch = false;
}

void setOutsideKeys(KeyboardState& state, const bool (*keys)[kVirtualKeyCount]) {
  state.stateFromOutside = keys != nullptr;
  for (int key = 0; key < kVirtualKeyCount; ++key) state.exactDown[key] = keys != nullptr && (*keys)[key];
}

void feedInput(KeyboardState& state, std::string_view bytes, std::uint32_t now) {
  if (bytes.empty()) return;
  if (state.pending.empty()) state.pendingSince = now;
  std::string input = std::move(state.pending);
  input.append(bytes);
  state.pending.clear();
  std::size_t at = 0;
  while (at < input.size()) {
    const std::size_t used = decodeOne(state, input, at, now);
    if (used == 0) break;
    at += used;
  }
  if (at < input.size()) {
    if (at > 0) state.pendingSince = now;
    state.pending = input.substr(at);
    if (state.pending.size() > kMaxPendingBytes) state.pending.clear();
  }
}

bool awaitingMoreInput(const KeyboardState& state) { return !state.pending.empty(); }

void settleInput(KeyboardState& state, std::uint32_t now) {
  if (state.pending.empty() || now - state.pendingSince < kLoneEscapeWaitMs) return;
  if (state.pending.size() == 1 && state.pending[0] == kEscape) pressLegacy(state, vk::kEscape, now);
  state.pending.clear();
}

void usePixelReports(KeyboardState& state, int cellWidthPixels) {
  if (state.pointer.cellWidthPixels == cellWidthPixels) return;
  state.pointer.cellWidthPixels = cellWidthPixels;
  state.pointer.known = false;
}

double takePointerMotion(KeyboardState& state) { return std::exchange(state.pointer.columnsMoved, 0.0); }

bool bytesAreExact(const KeyboardState& state) { return state.reportsReleases || state.win32Events; }

bool keyIsDown(const KeyboardState& state, int virtualKey, std::uint32_t now) {
  const auto held = [&](int key) {
    return state.exactDown[key] || state.latched[key] || (!state.stateFromOutside && keyHeldAt(state.held[key], now));
  };
  switch (virtualKey) {
    case vk::kLeftButton: return state.pointer.leftDown || state.latched[virtualKey];
    case vk::kRightButton: return state.pointer.rightDown || state.latched[virtualKey];
    case vk::kShift: return held(vk::kLeftShift) || held(vk::kRightShift);
    case vk::kControl: return held(vk::kLeftControl) || held(vk::kRightControl);
    case vk::kAlt: return held(vk::kLeftAlt) || held(vk::kRightAlt);
  }
  if (virtualKey < 0 || virtualKey >= kVirtualKeyCount) return false;
  return held(virtualKey);
}

void readKeysDown(const KeyboardState& state, std::uint32_t now, bool (&keys)[kVirtualKeyCount]) {
  const bool holds = !state.stateFromOutside;
  for (int key = 0; key < kVirtualKeyCount; ++key) {
    keys[key] = state.exactDown[key] || state.latched[key] ||
                (holds && state.heldOnce[key] && keyHeldAt(state.held[key], now));
  }
  keys[vk::kLeftButton] = state.pointer.leftDown || state.latched[vk::kLeftButton];
  keys[vk::kRightButton] = state.pointer.rightDown || state.latched[vk::kRightButton];
  keys[vk::kShift] = keys[vk::kLeftShift] || keys[vk::kRightShift];
  keys[vk::kControl] = keys[vk::kLeftControl] || keys[vk::kRightControl];
  keys[vk::kAlt] = keys[vk::kLeftAlt] || keys[vk::kRightAlt];
}

}  // namespace veldra::platform::terminal
