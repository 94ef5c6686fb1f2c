// The input step: the pause key, quitting, the front end and the presets.

#include <gtest/gtest.h>

#include "audio/audio_engine.h"
#include "audio/sound_catalogue.h"
#include "core/game.h"
#include "program/game_loop.h"
#include "frontend/front_end.h"
#include "frontend/preset_label.h"
#include "player/bindings.h"
#include "core/presets.h"
#include "player/update_player.h"
#include "render/present_frame.h"
#include "platform/headless/headless.h"
#include "platform/pad_reading.h"
#include "play_support.h"

namespace veldra {
namespace {

namespace headless = platform::headless;

// A new game on its title page.
class ControlsTest : public testing::PlayTest {
 protected:
  void SetUp() override {
    PlayTest::SetUp();
    start({"#####", "#P..#", "#####"}).inFrontEnd = true;
  }
  void frameWith(std::initializer_list<int> keys) { press(keys); }

  // The start frequencies of the sounds asked for since the last call.
  static std::vector<double> soundsRequested() {
    std::vector<double> starts;
    for (const SoundRequest& sound : takeSounds()) starts.push_back(sound.startHz);
    return starts;
  }
};

TEST_F(ControlsTest, HoldingPTogglesThePauseOnce) {
  game().inFrontEnd = false;
  for (int i = 0; i < 5; ++i) frameWith({vk::kP});
  EXPECT_TRUE(game().paused);
  EXPECT_EQ(soundsRequested(), std::vector<double>{sounds::kPauseToggle.startHz});
  frameWith({});
  frameWith({vk::kP});
  EXPECT_FALSE(game().paused);
  EXPECT_EQ(soundsRequested(), std::vector<double>{sounds::kPauseToggle.startHz}) << "both directions sound";
}

TEST_F(ControlsTest, PIsIgnoredInTheFrontEndButItsLatchFollows) {
  frameWith({vk::kP});
  EXPECT_FALSE(game().paused);
  EXPECT_TRUE(game().pauseKeyHeld);
  game().inFrontEnd = false;
  frameWith({vk::kP});
  EXPECT_FALSE(game().paused) << "still the same press";
  frameWith({});
  EXPECT_FALSE(game().pauseKeyHeld);
}

TEST_F(ControlsTest, EscapeDoesNothingWhilePaused) {
  game().inFrontEnd = false;
  frameWith({vk::kP});
  frameWith({vk::kEscape});
  frameWith({vk::kX});
  EXPECT_TRUE(game().running);
  frameWith({vk::kP});
  frameWith({vk::kEscape});
  EXPECT_FALSE(game().running);
}

TEST_F(ControlsTest, EscapeOrXQuitsFromEitherPage) {
  frameWith({vk::kX});
  EXPECT_FALSE(game().running);
  game().running = true;
  game().menuPage = kPresetPage;
  frameWith({vk::kEscape, vk::kEnter});
  EXPECT_FALSE(game().running);
  EXPECT_EQ(game().menuPage, kPresetPage) << "quitting stops the step";
}

TEST_F(ControlsTest, PresetsAreChosenFromTheMenu) {
  frameWith({vk::kC});
  EXPECT_EQ(game().menuPage, kPresetPage);
  EXPECT_EQ(game().menuCursor, 0);
  EXPECT_EQ(soundsRequested(), std::vector<double>{sounds::kPresetPageOpen.startHz});
  frameWith({vk::kS});  // down
  frameWith({vk::kSpace});
  EXPECT_EQ(game().menuPage, kTitlePage);
  EXPECT_EQ(soundsRequested(), (std::vector<double>{sounds::kMenuDown.startHz, sounds::kPresetChosen.startHz}));
  const int presetB[] = {87, 83, 65, 68, 161, 32, 165, 163, 191};
  const int bound[] = {game().keyForward, game().keyBackward, game().keyTurnLeft,  game().keyTurnRight, game().keyAttack,
                       game().keyIgnis,   game().keyGlacies,  game().keyElectrica, game().keyHerba};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(bound[i], presetB[i]) << i;
  const KeyNames b = chooseKeyNames(game());
  EXPECT_EQ(b.ignis, "SPACE");
  EXPECT_EQ(b.electrica, "RIGHT CTRL");
  EXPECT_EQ(b.glacies, "RIGHT ALT");
  EXPECT_EQ(b.herba, "/");

  frameWith({});
  frameWith({vk::kC});
  EXPECT_EQ(game().menuCursor, 0) << "the cursor starts at preset A each time";
  frameWith({vk::kEnter});
  EXPECT_EQ(game().keyForward, 38);
  EXPECT_EQ(game().keyAttack, 162);
  EXPECT_EQ(chooseKeyNames(game()).electrica, "LEFT ALT");
  EXPECT_EQ(chooseKeyNames(game()).herba, "LEFT SHIFT");
}

TEST_F(ControlsTest, TheCursorWrapsAndUpAndDownTogetherMoveBoth) {
  frameWith({vk::kC});
  soundsRequested();
  frameWith({vk::kUp});
  EXPECT_EQ(game().menuCursor, 2) << "up from preset A wraps to back";
  frameWith({vk::kUp});  // held: no second move
  EXPECT_EQ(game().menuCursor, 2);
  frameWith({});
  frameWith({vk::kDown});
  EXPECT_EQ(game().menuCursor, 0) << "down from back wraps to preset A";
  frameWith({});
  soundsRequested();
  frameWith({vk::kW, vk::kDown});
  EXPECT_EQ(game().menuCursor, 0);
  EXPECT_EQ(soundsRequested(), (std::vector<double>{sounds::kMenuUp.startHz, sounds::kMenuDown.startHz}));
  frameWith({});
  frameWith({vk::kUp});
  frameWith({vk::kEnter});  // back to the title, keys unchanged
  EXPECT_EQ(game().menuPage, kTitlePage);
  EXPECT_EQ(game().keyForward, 38);
  EXPECT_EQ(soundsRequested(), (std::vector<double>{sounds::kMenuUp.startHz, sounds::kMenuBack.startHz}));
}

TEST_F(ControlsTest, HoldingCShowsThePresetPageOnce) {
  frameWith({vk::kC});
  frameWith({vk::kDown});
  frameWith({vk::kEnter});  // preset B chosen, back on the title page
  ASSERT_EQ(game().menuPage, kTitlePage);
  frameWith({});
  frameWith({vk::kC});
  frameWith({vk::kC});
  EXPECT_EQ(game().menuPage, kPresetPage);
  EXPECT_EQ(soundsRequested().size(), 1u + 1u + 1u + 1u);
}

TEST_F(ControlsTest, EnterOnTheTitlePageIsALevelNotAnEdge) {
  frameWith({vk::kC});
  frameWith({vk::kEnter});  // chooses preset A, then a 200 ms pause
  EXPECT_TRUE(game().inFrontEnd);
  EXPECT_EQ(headless::millisecondsSlept(), 200u);
  frameWith({vk::kEnter});  // still held: the game starts
  EXPECT_FALSE(game().inFrontEnd);
  EXPECT_EQ(headless::millisecondsSlept(), 400u);
  EXPECT_EQ(soundsRequested().back(), sounds::kTitleStart.startHz);
}

TEST_F(ControlsTest, SpaceDoesNothingOnTheTitlePage) {
  frameWith({vk::kSpace});
  EXPECT_TRUE(game().inFrontEnd);
  EXPECT_EQ(game().menuPage, kTitlePage);
  EXPECT_TRUE(soundsRequested().empty());
}

TEST_F(ControlsTest, PresetAAliasesTheRightCtrlAndAltKeys) {
  const auto held = [](int key) {
    testing::releaseAllKeys();
    headless::setKeyDown(key, true);
  };
  held(vk::kRightControl);
  EXPECT_TRUE(attackKeyDown(game()));
  held(vk::kRightAlt);
  EXPECT_TRUE(electricaKeyDown(game()));
  applyPresetB(game());
  held(vk::kLeftControl);
  EXPECT_FALSE(attackKeyDown(game()));
  held(vk::kLeftAlt);
  EXPECT_FALSE(electricaKeyDown(game()));
  held(vk::kRightShift);
  EXPECT_TRUE(attackKeyDown(game()));
  held(vk::kRightControl);
  EXPECT_TRUE(electricaKeyDown(game()));
  EXPECT_FALSE(attackKeyDown(game())) << "Right Ctrl is preset B's ELECTRICA, not an attack";
}

TEST_F(ControlsTest, LettersStandInForLoneModifiersOnlyWhereKeysAreNotExact) {
  const auto held = [](int key) {
    testing::releaseAllKeys();
    headless::setKeyDown(key, true);
  };
  held(vk::kF);
  EXPECT_FALSE(attackKeyDown(game())) << "with exact keys F is no key of the game";
  headless::setKeysExact(false);
  EXPECT_TRUE(attackKeyDown(game()));
  held(vk::kQ);
  EXPECT_TRUE(electricaKeyDown(game()));
  held(vk::kR);
  EXPECT_TRUE(actionDown(game(), Action::Herba));
  const KeyNames a = chooseKeyNames(game());
  EXPECT_EQ(std::string(a.electrica) + std::string(a.glacies) + std::string(a.herba), "QER");
  applyPresetB(game());
  held(vk::kJ);
  EXPECT_TRUE(attackKeyDown(game()));
  held(vk::kK);
  EXPECT_TRUE(electricaKeyDown(game()));
  held(vk::kL);
  EXPECT_TRUE(actionDown(game(), Action::Glacies));
  held(vk::kF);
  EXPECT_FALSE(attackKeyDown(game())) << "F stands in for preset A's Left Ctrl only";
  const KeyNames b = chooseKeyNames(game());
  EXPECT_EQ(std::string(b.electrica) + std::string(b.glacies) + std::string(b.herba), "KL/");
  game().keyHerba = vk::kLeftControl;  // written directly: the key keeps its own stand-in
  held(vk::kF);
  EXPECT_TRUE(actionDown(game(), Action::Herba));
  EXPECT_EQ(chooseKeyNames(game()).herba, "F");
}

TEST_F(ControlsTest, TheTitleColoursFollowTheClock) {
  headless::setWindowSize(80, 25);
  const auto colourAt = [&](int row, std::uint32_t ticks) {
    headless::setTickCount(ticks);
    drawFrontEnd(game().screen, kTitlePage, 0);
    return headless::lastFrame()[row * 80 + 40].Attributes;
  };
  constexpr int kStartLine = 15;
  constexpr int kConfigLine = 17;
  EXPECT_EQ(colourAt(kStartLine, 0), 10);
  EXPECT_EQ(colourAt(kStartLine, 250), 11);
  EXPECT_EQ(colourAt(kStartLine, 500), 9);
  EXPECT_EQ(colourAt(kStartLine, 750), 10);
  EXPECT_EQ(colourAt(kConfigLine, 499), 14);
  EXPECT_EQ(colourAt(kConfigLine, 500), 6);
}

TEST_F(ControlsTest, TheFrontEndIsPlacedAndClipped) {
  headless::setWindowSize(80, 25);
  drawFrontEnd(game().screen, kTitlePage, 0);
  const auto text = [](int row, int column, int count) {
    std::string out;
    for (int k = 0; k < count; ++k) out += headless::lastFrame()[row * headless::lastFrameWidth() + column + k].Char.AsciiChar;
    return out;
  };
  EXPECT_EQ(text(15, 40 - 18, 36), "--- PRESS ENTER TO START VELDRA! ---");
  EXPECT_EQ(text(19, 40 - 20, 40), "Use Esc or 'X' to Quit and 'P' to Pause!");
  EXPECT_EQ(headless::lastFrame()[19 * 80 + 20].Attributes, 7);
  EXPECT_EQ(headless::lastFrame()[2 * 80 + 18 + 9].Attributes, 12) << "the banner's accent";
  EXPECT_EQ(headless::lastFrame()[2 * 80 + 18 + 2].Attributes, 11);

  drawFrontEnd(game().screen, kPresetPage, 1);
  const std::string selected = " >  PRESET B: WASD Modern RPG (WASD, R Shift, Space, R Alt, R Ctrl)";
  EXPECT_EQ(text(13, 40 - static_cast<int>(selected.size()) / 2, static_cast<int>(selected.size())), selected);
  EXPECT_EQ(headless::lastFrame()[13 * 80 + 40].Attributes, 10);
  EXPECT_EQ(headless::lastFrame()[11 * 80 + 40].Attributes, 7);

  // A narrow window: the header is placed by buffer position and runs on into the next row.
  headless::setWindowSize(30, 25);
  drawFrontEnd(game().screen, kPresetPage, 0);
  const std::string header = "=== CHOOSE YOUR CORE GAME CONTROLS PRESET ===";
  const int start = 9 * 30 + 15 - static_cast<int>(header.size()) / 2;
  for (std::size_t k = 0; k < header.size(); ++k) {
    EXPECT_EQ(headless::lastFrame()[start + k].Char.AsciiChar, header[k]) << k;
  }
  EXPECT_EQ((start + static_cast<int>(header.size()) - 1) / 30, 10) << "it ends in row 10";
}

TEST_F(ControlsTest, ABindingTableOfItsOwnNamesItsKeysOnTheHudAndThePresetPage) {
  // The shipped tables, written in the labels' style, are the shipped labels.
  EXPECT_EQ(presetLabel(kPresetA, defaultBindings().presets[kPresetA]),
            " PRESET A: Retro Classic (Arrows, Ctrl, Space, E, Alt)");
  EXPECT_EQ(presetLabel(kPresetB, defaultBindings().presets[kPresetB]),
            " PRESET B: WASD Modern RPG (WASD, R Shift, Space, R Alt, R Ctrl)");
  BindingTable table = defaultBindings();
  PresetBinding& b = table.presets[kPresetB];
  bindingOf(b, Action::Forward) = ActionBinding{{'Z'}, 1};
  bindingOf(b, Action::TurnLeft) = ActionBinding{{'Q'}, 1};
  bindingOf(b, Action::Herba) = ActionBinding{{'H'}, 1};
  bindingOf(b, Action::Electrica) = ActionBinding{{vk::kLeftControl, vk::kRightControl}, 2};
  EXPECT_EQ(presetLabel(kPresetB, b), " PRESET B: WASD Modern RPG (ZQSD, R Shift, Space, R Alt, Ctrl)");
  table.presetAtStart = kPresetB;
  useBindings(game(), table);
  EXPECT_EQ(chooseKeyNames(game()).herba, "H");
  EXPECT_EQ(chooseKeyNames(game()).electrica, "LEFT CTRL");
  const auto held = [](int key) {
    testing::releaseAllKeys();
    headless::setKeyDown(key, true);
  };
  held('Z');
  EXPECT_TRUE(readPlayerCommand(game()).forward);
  held(vk::kRightControl);
  EXPECT_TRUE(readPlayerCommand(game()).electrica) << "every key of the action, not the first alone";
  held(vk::kW);
  EXPECT_FALSE(readPlayerCommand(game()).forward) << "the file replaced the action's keys";
  EXPECT_TRUE(readPlayerCommand(game()).menuUp) << "the menu keys are fixed";
  // A member written directly still follows the shipped rules: Right Ctrl while Left Ctrl.
  game().keyAttack = vk::kLeftControl;
  EXPECT_FALSE(readPlayerCommand(game()).staff);
  held(vk::kRightControl);
  EXPECT_TRUE(attackKeyDown(game()));
  EXPECT_EQ(chooseKeyNames(game()).herba, "LEFT SHIFT") << "the HUD's names follow the staff key";
}

// A pad, as its backend reads it, in play on a corridor facing east.
class GamepadTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    start({"##########", "#P.......#", "##########"});
    pad_.present = true;
  }
  // One input step with this pad (and these keys) and nothing else.
  void padFrame(std::initializer_list<platform::PadButton> buttons, std::initializer_list<int> keys = {}) {
    holdOnly(keys);
    platform::PadReading pad = pad_;
    for (const platform::PadButton button : buttons) pad.buttons[static_cast<int>(button)] = true;
    headless::setPad(pad);
    updatePlayer(game());
  }
  void stick(platform::PadAxis axis, int value) { pad_.axes[static_cast<int>(axis)] = static_cast<std::int16_t>(value); }
  platform::PadReading pad_;
};

TEST_F(GamepadTest, TheSticksWalkAndTurnTheButtonsStrikeAndCastStartPausesAndPullingItOutPauses) {
  using B = platform::PadButton;
  stick(platform::PadAxis::LeftY, -32768);
  for (int i = 0; i < 10; ++i) padFrame({});
  EXPECT_GT(game().playerX, 2.0) << "the left stick forward walks";
  stick(platform::PadAxis::LeftY, 0);
  stick(platform::PadAxis::RightX, 32767);
  padFrame({});
  EXPECT_NEAR(game().playerAngle, 0.05, 1e-9) << "full deflection turns as a held turn key";
  stick(platform::PadAxis::RightX, 0);
  soundsRequested();
  padFrame({B::A});
  EXPECT_EQ(game().attackFrame, 1) << "A swings the staff";
  game().ignisLearned = game().glaciesLearned = game().electricaLearned = game().herbaLearned = true;
  game().mp = game().mpMax = 500;
  game().hp = 50;
  takeSounds();
  for (const B spell : {B::B, B::X, B::Y, B::RightShoulder}) {
    padFrame({spell});
    padFrame({});
  }
  const auto played = takeSounds();
  for (const SoundRequest& cast : {sounds::kIgnisCast, sounds::kGlaciesActivated, sounds::kElectricaCast, sounds::kHerbaCast}) {
    EXPECT_EQ(count(played, cast), 1) << cast.startHz << " Hz: B, X, Y and the right shoulder each cast";
  }
  EXPECT_EQ(std::string(chooseKeyNames(game()).ignis) + "|" + std::string(chooseKeyNames(game()).herba), "PAD B|PAD RIGHT SHOULDER");
  padFrame({}, {vk::kRightShift});
  EXPECT_EQ(chooseKeyNames(game()).ignis, "SPACE") << "the keyboard used last";
  padFrame({B::Start});
  EXPECT_TRUE(game().paused);
  padFrame({});
  padFrame({B::Start});
  EXPECT_FALSE(game().paused) << "Start again resumes";
  pad_.present = false;
  padFrame({});
  EXPECT_TRUE(game().paused) << "a pad pulled out pauses";
  padFrame({});
  EXPECT_TRUE(game().paused) << "once";
  padFrame({}, {vk::kP});
  EXPECT_FALSE(game().paused);
  pad_.present = true;
  padFrame({B::Back});
  EXPECT_FALSE(game().running) << "Back quits";
}

TEST_F(GamepadTest, PadButtonsBindByNameAndTheFrontPagesTakeTheDPadAndA) {
  using B = platform::PadButton;
  BindingTable table = defaultBindings();
  bindingOf(table.presets[kPresetA], Action::Staff) = ActionBinding{{vk::kLeftControl, vk::kPadLeftTrigger}, 2};
  useBindings(game(), table);
  stick(platform::PadAxis::LeftTrigger, 32767);
  padFrame({});
  EXPECT_EQ(game().attackFrame, 1) << "the left trigger bound to the staff";
  stick(platform::PadAxis::LeftTrigger, 0);
  padFrame({});
  padFrame({B::A});
  EXPECT_EQ(game().attackFrame, 1) << "A no longer the staff: nothing new";
  game().inFrontEnd = true;
  game().menuPage = kPresetPage;
  game().menuCursor = 0;
  padFrame({B::Down});
  EXPECT_EQ(game().menuCursor, 1);
  padFrame({B::A});
  EXPECT_EQ(game().keyAttack, vk::kRightShift) << "A chose preset B";
}

}  // namespace
}  // namespace veldra
