// Terminal keyboard input: keyboard-protocol events, legacy bytes with their timed hold,
// split sequences and the lone Esc.

#include <gtest/gtest.h>

#include <string>

#include "platform/terminal/key_decoder.h"
#include "platform/mouse_look.h"

namespace veldra::platform::terminal {
namespace {

using namespace vk;

// A state whose terminal said it reports releases (the answer to the protocol query).
KeyboardState exactState() {
  KeyboardState state;
  feedInput(state, "\x1b[?11u", 0);
  EXPECT_TRUE(state.reportsReleases);
  return state;
}

std::string csiU(int number, int event, int modifiers = 1) {
  return "\x1b[" + std::to_string(number) + ";" + std::to_string(modifiers) + ":" + std::to_string(event) + "u";
}

TEST(KeyDecoderTest, ProtocolEventsGiveEveryMappedKeyAnExactState) {
  const std::pair<int, int> keys[] = {
      {'a', 'A'}, {'w', 'W'}, {'z', 'Z'}, {'0', '0'}, {'9', '9'}, {13, kEnter}, {27, kEscape}, {32, kSpace},
      {'/', kSlash}, {57441, kLeftShift}, {57447, kRightShift}, {57442, kLeftControl}, {57448, kRightControl},
      {57443, kLeftAlt}, {57449, kRightAlt}};
  for (const auto& [number, key] : keys) {
    KeyboardState state = exactState();
    feedInput(state, csiU(number, 1), 0);
    EXPECT_TRUE(keyIsDown(state, key, 100000)) << number << " pressed stays down";
    feedInput(state, csiU(number, 2), 1);
    EXPECT_TRUE(keyIsDown(state, key, 100000)) << number << " repeating";
    beginRead(state);
    feedInput(state, csiU(number, 3), 2);
    EXPECT_FALSE(keyIsDown(state, key, 2)) << number << " released";
  }
}

// A frame reads every key at once; it must read each as asking for it alone does, through
// legacy holds running out, protocol presses and releases, modifiers and mouse buttons.
TEST(KeyDecoderTest, AFrameReadsEveryKeyAsAskingForItAloneDoes) {
  for (const bool exactKeys : {false, true}) {
    KeyboardState state = exactKeys ? exactState() : KeyboardState{};
    const std::string bytes[] = {"w", "\x1b[A", "ww", csiU(57441, 1), "\x1b[<0;5;5M", csiU('a', 1), csiU(57441, 3),
                                 "\x1b[<0;5;5m", "\x1b[<2;5;5M", "\x1bx", csiU(57448, 1), ""};
    std::uint32_t now = 0;
    for (const std::string& part : bytes) {
      beginRead(state);
      feedInput(state, part, now);
      for (const std::uint32_t later : {now, now + 40, now + 400, now + 4000}) {
        bool keys[kVirtualKeyCount];
        readKeysDown(state, later, keys);
        for (int key = 0; key < kVirtualKeyCount; ++key) {
          ASSERT_EQ(keys[key], keyIsDown(state, key, later)) << "key " << key << " after \"" << part.substr(1) << "\" at " << later;
        }
      }
      now += 30;
    }
  }
}

TEST(KeyDecoderTest, ProtocolArrowsInBothForms) {
  const std::pair<char, int> arrows[] = {{'A', kUp}, {'B', kDown}, {'C', kRight}, {'D', kLeft}};
  for (const auto& [final, key] : arrows) {
    KeyboardState state = exactState();
    feedInput(state, std::string("\x1b[1;1:1") + final, 0);
    EXPECT_TRUE(keyIsDown(state, key, 5000));
    beginRead(state);
    feedInput(state, std::string("\x1b[1;1:3") + final, 1);
    EXPECT_FALSE(keyIsDown(state, key, 1));
    feedInput(state, std::string("\x1b[") + final, 2);  // a plain press omits its fields
    EXPECT_TRUE(keyIsDown(state, key, 5000));
  }
}

TEST(KeyDecoderTest, ModifiersAreKeysOfTheirOwnAndTheGenericCodesFollowThem) {
  KeyboardState state = exactState();
  feedInput(state, csiU(57447, 1), 0);  // right shift
  EXPECT_TRUE(keyIsDown(state, kRightShift, 0));
  EXPECT_FALSE(keyIsDown(state, kLeftShift, 0));
  EXPECT_TRUE(keyIsDown(state, kShift, 0));
  feedInput(state, csiU(57453, 1), 0);  // AltGr counts as right Alt
  EXPECT_TRUE(keyIsDown(state, kRightAlt, 0));
  EXPECT_TRUE(keyIsDown(state, kAlt, 0));
  // A letter typed with Shift held is still its own key, with Shift still down.
  feedInput(state, csiU('w', 1, 2), 0);
  EXPECT_TRUE(keyIsDown(state, 'W', 0));
  EXPECT_TRUE(keyIsDown(state, kRightShift, 0));
}

TEST(KeyDecoderTest, WithoutReleasesProtocolPressesAreHeldLikeLegacyBytes) {
  KeyboardState state;  // the terminal never said it reports releases
  feedInput(state, csiU(27, 1), 1000);
  EXPECT_TRUE(keyIsDown(state, kEscape, 1000));
  beginRead(state);
  EXPECT_FALSE(keyIsDown(state, kEscape, 1000 + kTapHoldMs));
}

TEST(KeyDecoderTest, LegacyBytesNameTheirKeys) {
  KeyboardState state;
  feedInput(state, "D \r/\x7f", 2000);
  for (int key : {int('D'), kSpace, kEnter, kSlash, 8}) EXPECT_TRUE(keyIsDown(state, key, 2000)) << key;
  feedInput(state, "\x1b[A", 3000);
  EXPECT_TRUE(keyIsDown(state, kUp, 3000));
  feedInput(state, "\x1bx", 4000);  // Alt+x in legacy form
  EXPECT_TRUE(keyIsDown(state, 'X', 4000));
}

TEST(KeyDecoderTest, ArrowsInApplicationCursorModeAreTheArrowKeys) {
  const std::pair<char, int> arrows[] = {{'A', kUp}, {'B', kDown}, {'C', kRight}, {'D', kLeft}};
  for (const auto& [final, key] : arrows) {
    KeyboardState state;
    feedInput(state, std::string("\x1bO") + final, 100);
    for (const auto& [otherFinal, other] : arrows) {
      EXPECT_EQ(keyIsDown(state, other, 100), other == key) << final << " read as " << other;
    }
    EXPECT_FALSE(keyIsDown(state, kEscape, 100));
    EXPECT_FALSE(keyIsDown(state, 'O', 100));
    EXPECT_FALSE(awaitingMoreInput(state));
  }
  KeyboardState split;  // cut after its Esc and after its O
  feedInput(split, "\x1b", 0);
  feedInput(split, "O", 1);
  EXPECT_TRUE(awaitingMoreInput(split));
  feedInput(split, "D", 2);
  EXPECT_TRUE(keyIsDown(split, kLeft, 2));
  EXPECT_FALSE(keyIsDown(split, kEscape, 2));
}

TEST(KeyDecoderTest, APressAndItsReleaseBetweenTwoReadsCountAsDownInTheSecondOnly) {
  KeyboardState state = exactState();
  beginRead(state);
  feedInput(state, csiU(13, 1) + csiU(13, 3), 10);  // Enter tapped within a millisecond
  EXPECT_TRUE(keyIsDown(state, kEnter, 16));
  EXPECT_TRUE(keyIsDown(state, kEnter, 16)) << "the whole read sees it";
  beginRead(state);
  EXPECT_FALSE(keyIsDown(state, kEnter, 33)) << "and the next read does not";
  // Pressed again within that read: down again.
  feedInput(state, csiU(13, 1) + csiU(13, 3) + csiU(13, 1) + csiU(13, 3), 40);
  EXPECT_TRUE(keyIsDown(state, kEnter, 50));
  // A held key is unchanged by the latch: down until its release, up after.
  beginRead(state);
  feedInput(state, csiU(57442, 1), 60);
  for (int read = 0; read < 5; ++read) {
    beginRead(state);
    EXPECT_TRUE(keyIsDown(state, kLeftControl, 70 + read));
  }
  feedInput(state, csiU(57442, 3), 80);
  EXPECT_FALSE(keyIsDown(state, kLeftControl, 80)) << "a release of a press from an earlier read is at once";
  // Repeat events are not presses: they do not latch.
  beginRead(state);
  feedInput(state, csiU('w', 2) + csiU('w', 3), 90);
  EXPECT_FALSE(keyIsDown(state, 'W', 90));
}

TEST(KeyDecoderTest, WithTheKeyStateFromOutsideBytesOnlyLatchPresses) {
  KeyboardState state;
  bool outside[kVirtualKeyCount] = {};
  outside[kLeftControl] = true;  // a lone modifier, which no byte names
  beginRead(state);
  setOutsideKeys(state, &outside);
  EXPECT_TRUE(keyIsDown(state, kLeftControl, 0));
  EXPECT_TRUE(keyIsDown(state, kControl, 0));
  feedInput(state, "\r", 0);  // Enter pressed and released faster than the outside saw it
  EXPECT_TRUE(keyIsDown(state, kEnter, 0));
  beginRead(state);
  setOutsideKeys(state, &outside);
  EXPECT_FALSE(keyIsDown(state, kEnter, 1)) << "no timed hold while the outside knows better";
  setOutsideKeys(state, nullptr);
  EXPECT_FALSE(keyIsDown(state, kLeftControl, 1));
  EXPECT_FALSE(state.stateFromOutside);
}

TEST(KeyDecoderTest, SplitSequencesAreReassembled) {
  KeyboardState state = exactState();
  const std::string press = csiU(57442, 1);
  for (std::size_t cut = 1; cut < press.size(); ++cut) {
    KeyboardState split = state;
    feedInput(split, press.substr(0, cut), 10);
    EXPECT_TRUE(awaitingMoreInput(split)) << cut;
    settleInput(split, 12);  // within the wait: not yet an Esc
    feedInput(split, press.substr(cut), 13);
    EXPECT_FALSE(awaitingMoreInput(split));
    EXPECT_TRUE(keyIsDown(split, kLeftControl, 13)) << cut;
    EXPECT_FALSE(keyIsDown(split, kEscape, 13)) << cut;
  }
}

TEST(KeyDecoderTest, ALoneEscByteIsTheEscKeyAfterAShortWait) {
  KeyboardState state;
  feedInput(state, "\x1b", 100);
  settleInput(state, 100 + kLoneEscapeWaitMs - 1);
  EXPECT_FALSE(keyIsDown(state, kEscape, 104));
  settleInput(state, 100 + kLoneEscapeWaitMs);
  EXPECT_TRUE(keyIsDown(state, kEscape, 105));
  EXPECT_FALSE(awaitingMoreInput(state));

  KeyboardState doubled;
  feedInput(doubled, "\x1b\x1b", 0);  // Esc pressed twice quickly
  EXPECT_TRUE(keyIsDown(doubled, kEscape, 0));
}

TEST(KeyDecoderTest, UnknownAndBrokenSequencesAreIgnored) {
  KeyboardState state = exactState();
  feedInput(state, "\x1b[15~\x1b[57376u\x1b[200~\x1b[?1;2c\x1b[5;3H", 0);  // F5, F13, paste start, ...
  for (int key = 0; key < kVirtualKeyCount; ++key) EXPECT_FALSE(keyIsDown(state, key, 0)) << key;
  feedInput(state, "\x1b[12\x01w", 0);  // a sequence cut short by a control byte
  EXPECT_TRUE(keyIsDown(state, 'W', 0));
  feedInput(state, "\x1b[" + std::string(200, '1'), 0);  // an endless one is dropped
  EXPECT_FALSE(awaitingMoreInput(state));
  feedInput(state, "\xc3\xa9", 0);  // text outside ASCII names no key
}

TEST(KeyDecoderTest, LosingFocusReleasesEverythingAndReportsAreRemembered) {
  KeyboardState state = exactState();
  EXPECT_EQ(state.focus, TerminalFocus::Unknown);
  feedInput(state, "\x1b[I" + csiU('w', 1) + "w", 0);
  EXPECT_EQ(state.focus, TerminalFocus::In);
  beginRead(state);
  feedInput(state, "\x1b[O", 1);
  EXPECT_FALSE(keyIsDown(state, 'W', 1));
  EXPECT_EQ(state.focus, TerminalFocus::Out);
}

// win32-input-mode: CSI Vk ; Sc ; Uc ; Kd ; Cs ; Rc _
std::string win32Key(int virtualKey, int scanCode, bool down, int controlState = 0) {
  return "\x1b[" + std::to_string(virtualKey) + ";" + std::to_string(scanCode) + ";0;" + (down ? "1" : "0") + ";" +
         std::to_string(controlState) + ";1_";
}

TEST(KeyDecoderTest, Win32InputEventsGiveExactKeysWithLeftAndRightModifiersApart) {
  constexpr int kEnhanced = 0x100;
  struct Case {
    std::string press, release;
    int key;
  };
  const Case cases[] = {
      {win32Key(kShift, 0x2A, true), win32Key(kShift, 0x2A, false), kLeftShift},
      {win32Key(kShift, 0x36, true), win32Key(kShift, 0x36, false), kRightShift},
      {win32Key(kControl, 0x1D, true), win32Key(kControl, 0x1D, false), kLeftControl},
      {win32Key(kControl, 0x1D, true, kEnhanced), win32Key(kControl, 0x1D, false, kEnhanced), kRightControl},
      {win32Key(kAlt, 0x38, true), win32Key(kAlt, 0x38, false), kLeftAlt},
      {win32Key(kAlt, 0x38, true, kEnhanced), win32Key(kAlt, 0x38, false, kEnhanced), kRightAlt},
      {win32Key(kUp, 0x48, true, kEnhanced), win32Key(kUp, 0x48, false, kEnhanced), kUp},
      {win32Key('W', 0x11, true), win32Key('W', 0x11, false), 'W'},
  };
  for (const Case& c : cases) {
    KeyboardState state;
    EXPECT_FALSE(bytesAreExact(state));
    // Split anywhere, the event still arrives whole.
    for (std::size_t cut = 1; cut < c.press.size(); cut += 4) {
      feedInput(state, c.press.substr(0, cut), 0);
      feedInput(state, c.press.substr(cut), 0);
    }
    EXPECT_TRUE(bytesAreExact(state));
    EXPECT_TRUE(keyIsDown(state, c.key, 100000)) << c.key << " held";
    for (int other : {kLeftShift, kRightShift, kLeftControl, kRightControl, kLeftAlt, kRightAlt}) {
      if (other != c.key) {
        EXPECT_FALSE(keyIsDown(state, other, 0)) << c.key << " is not " << other;
      }
    }
    // A held key's repeated down event and its release in one read: released there.
    beginRead(state);
    feedInput(state, c.press + c.release, 1);
    EXPECT_FALSE(keyIsDown(state, c.key, 1)) << c.key << " released";
    // A tap between two reads still counts in the second, and only there.
    feedInput(state, c.press + c.release, 2);
    EXPECT_TRUE(keyIsDown(state, c.key, 2));
    beginRead(state);
    EXPECT_FALSE(keyIsDown(state, c.key, 2));
  }
  KeyboardState state;
  feedInput(state, win32Key(kLeft, 0x4B, false), 0);  // a release with no press before it
  EXPECT_FALSE(keyIsDown(state, kLeft, 0));
  feedInput(state, win32Key('C', 0x2E, true, 0x08), 0);  // Ctrl+C with left Ctrl held
  EXPECT_TRUE(state.interruptRequested);
}

TEST(KeyDecoderTest, ByPositionTheKeyInWsPlaceIsWWhereverItsPlaceIsReported) {
  // An AZERTY keyboard: the key in W's place types z, the key in Z's place types w.
  for (const bool byPosition : {false, true}) {
    KeyboardState kitty = exactState();
    kitty.keysByPosition = byPosition;
    feedInput(kitty, "\x1b[122::119;1:1u", 0);  // z, in W's place
    EXPECT_EQ(keyIsDown(kitty, 'W', 0), byPosition);
    EXPECT_EQ(keyIsDown(kitty, 'Z', 0), !byPosition);
    KeyboardState win32;
    win32.keysByPosition = byPosition;
    feedInput(win32, win32Key('Z', 0x11, true) + win32Key('W', 0x2C, true), 0);
    beginRead(win32);
    feedInput(win32, win32Key('W', 0x2C, false), 1);
    EXPECT_EQ(keyIsDown(win32, 'W', 1), byPosition) << "the key typing z sits where W does";
    EXPECT_EQ(keyIsDown(win32, 'Z', 1), !byPosition);
  }
  // Keys outside the main block keep their names; legacy bytes have no place.
  KeyboardState state = exactState();
  state.keysByPosition = true;
  feedInput(state, csiU(57441, 1) + "\x1b[97u", 0);
  EXPECT_TRUE(keyIsDown(state, kLeftShift, 0));
  EXPECT_TRUE(keyIsDown(state, 'A', 0)) << "no base key given: the key is where it types";
}

TEST(KeyDecoderTest, AnAnswerWithoutReleasesLetsExactlyHeldKeysGo) {
  KeyboardState state = exactState();
  feedInput(state, csiU('w', 1), 0);
  beginRead(state);
  feedInput(state, "\x1b[?1u", 10);  // the terminal now reports presses only
  EXPECT_FALSE(state.reportsReleases);
  EXPECT_FALSE(keyIsDown(state, 'W', 10000)) << "no release would ever come for it";
}

TEST(KeyDecoderTest, CtrlCAndCtrlZAsEventsAskForTheirSignals) {
  KeyboardState state = exactState();
  feedInput(state, csiU('c', 1, 5), 0);
  EXPECT_TRUE(state.interruptRequested);
  feedInput(state, csiU('z', 1, 5), 0);
  EXPECT_TRUE(state.suspendRequested);
  KeyboardState plain = exactState();
  feedInput(plain, csiU('c', 1), 0);
  EXPECT_FALSE(plain.interruptRequested);
}

// SGR mouse reports: CSI < button ; column ; row M (press, motion) or m (release).
std::string mouse(int button, int column, bool press = true) {
  return "\x1b[<" + std::to_string(button) + ";" + std::to_string(column) + ";5" + (press ? "M" : "m");
}

TEST(KeyDecoderTest, MouseButtonsAreExactKeysAndMotionIsCountedInColumns) {
  for (const bool exactKeys : {false, true}) {  // a legacy terminal and one with the protocol
    KeyboardState state = exactKeys ? exactState() : KeyboardState{};
    feedInput(state, mouse(35, 10) + mouse(35, 14), 0);
    EXPECT_DOUBLE_EQ(takePointerMotion(state), 4.0) << "the first report only places the pointer";
    // A click between two reads is seen in the second; a held button stays down; motion
    // with a button held and the wheel press nothing.
    const std::string split = mouse(0, 12) + mouse(0, 12, false) + mouse(2, 12);
    feedInput(state, split.substr(0, 5), 1);
    feedInput(state, split.substr(5), 1);
    EXPECT_TRUE(keyIsDown(state, kLeftButton, 1));
    EXPECT_TRUE(keyIsDown(state, kRightButton, 1));
    beginRead(state);
    feedInput(state, mouse(34, 3) + mouse(64, 90) + mouse(65, 91), 2);
    EXPECT_FALSE(keyIsDown(state, kLeftButton, 2));
    EXPECT_TRUE(keyIsDown(state, kRightButton, 2));
    EXPECT_FALSE(keyIsDown(state, 'M', 2) || keyIsDown(state, kUp, 2)) << "reports are no keys";
    EXPECT_DOUBLE_EQ(takePointerMotion(state), -11.0);
    EXPECT_DOUBLE_EQ(takePointerMotion(state), 0.0);
    // Gone out of the window: the buttons let go, and the pointer's return is no motion.
    feedInput(state, "\x1b[O" + mouse(35, 60), 3);
    EXPECT_FALSE(keyIsDown(state, kRightButton, 3));
    EXPECT_DOUBLE_EQ(takePointerMotion(state), 0.0);
  }
}

TEST(KeyDecoderTest, DeviceAttributeAnswersSplitAnywhereAndMixedWithKeysAreNoKeys) {
  const std::string bytes = "w\x1b[?62;22c\x1b[A\x1b[?1;2c" + mouse(35, 4) + "\x1b[?6c";
  for (std::size_t split = 0; split <= bytes.size(); ++split) {
    KeyboardState state;
    feedInput(state, bytes.substr(0, split), 0);
    feedInput(state, bytes.substr(split), 0);
    EXPECT_EQ(state.deviceAttributeAnswers, 3) << split;
    int down = 0;
    for (int key = 0; key < kVirtualKeyCount; ++key) down += keyIsDown(state, key, 0);
    EXPECT_EQ(down, 2) << split << ": W and Up only";
  }
}

TEST(KeyDecoderTest, PixelReportsAreTakenWhereTheTerminalOffersThem) {
  KeyboardState state;
  feedInput(state, "\x1b[?1016;0$y", 0);
  EXPECT_FALSE(state.pointer.pixelReportsOffered) << "status 0: the mode is unknown there";
  // The sound mode's answer likewise: only set (1) says the terminal plays sound itself.
  for (const char* status : {"0", "2", "3", "4"}) {
    feedInput(state, std::string("\x1b[?7707;") + status + "$y", 0);
    EXPECT_FALSE(state.playsSound) << status;
  }
  feedInput(state, "\x1b[?7707;1$y", 0);
  EXPECT_TRUE(state.playsSound);
  feedInput(state, "\x1b[?1016;2$y" + mouse(35, 40), 0);
  EXPECT_TRUE(state.pointer.pixelReportsOffered);
  usePixelReports(state, 8);
  feedInput(state, mouse(35, 81) + mouse(35, 85), 0);
  EXPECT_DOUBLE_EQ(takePointerMotion(state), 0.5);
  EXPECT_DOUBLE_EQ(state.pointer.column, 10.5);
  // Every frame's read says the width again: the same width keeps the pointer where it is.
  usePixelReports(state, 8);
  feedInput(state, mouse(35, 93), 1);
  EXPECT_DOUBLE_EQ(takePointerMotion(state), 1.0);
}

TEST(KeyDecoderTest, ThePointerReachesBothEdgesInCellsAndInPixels) {
  // An 80-column window; reports count from 1, in cells or (8 to a cell) in pixels.
  for (const int cellWidth : {0, 8}) {
    KeyboardState state;
    if (cellWidth > 0) usePixelReports(state, cellWidth);
    const int scale = cellWidth > 0 ? cellWidth : 1;
    const std::pair<int, int> places[] = {{1, -1}, {scale, -1}, {scale + 1, 0}, {79 * scale, 0}, {79 * scale + 1, 1}};
    for (const auto& [x, edge] : places) {
      feedInput(state, mouse(35, x), 0);
      EXPECT_EQ(pointerEdge(state.pointer.known, state.pointer.column, 80), edge) << "report x " << x << ", cell width " << cellWidth;
    }
  }
}

TEST(MouseLookTest, MotionTurnsInWholeUnitsLosingNothingAndTheEdgesTurnOn) {
  MouseLookState look = mouseLookFor(MouseLook{true, 50});
  std::int64_t total = 0;
  for (int i = 0; i < 1000; ++i) total += turnForMotion(look, 0.001);  // a slow drift, in pixels
  EXPECT_NEAR(total * kMouseTurnUnit, 1.0 * kTurnPerColumn / 2, 2 * kMouseTurnUnit);
  EXPECT_LT(turnForMotion(look, -2.0), 0) << "leftwards turns left";
  PointerState pointer;
  EXPECT_EQ(pointerEdge(pointer.known, pointer.column, 80), 0) << "nowhere known yet";
  pointer.known = true;
  for (const auto& [column, edge] : {std::pair{0.0, -1}, {0.9, -1}, {1.0, 0}, {78.9, 0}, {79.0, 1}, {85.0, 1}}) {
    pointer.column = column;
    EXPECT_EQ(pointerEdge(pointer.known, pointer.column, 80), edge) << column;
  }
}

}  // namespace
}  // namespace veldra::platform::terminal
