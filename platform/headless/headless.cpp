// The headless twin of the terminal backend: no terminal, no sound card, no real time.

#include "platform/headless/headless.h"

#include "platform/pad.h"

#include <array>
#include <deque>
#include <mutex>
#include <utility>

#include "platform/clock.h"
#include "platform/console.h"
#include "platform/backend/device.h"
#include "platform/frame_input.h"
#include "platform/keyboard.h"
#include "platform/lifetime.h"
#include "platform/process.h"
#include "platform/random.h"
#include "platform/wave_out.h"

namespace veldra::platform {

struct WaveDevice {
  WaveSignal signal = nullptr;
  void* context = nullptr;
  std::deque<WaveBuffer*> queue;  // written, not yet finished
  bool failed = false;            // writes are refused (a broken or vanished device)
};

namespace {

// FNV-1a, 64 bits.
constexpr std::uint64_t kDigestStart = 14695981039346656037ull;
constexpr std::uint64_t kDigestPrime = 1099511628211ull;

void digestByte(std::uint64_t& digest, unsigned byte) {
  digest = (digest ^ (byte & 0xFFu)) * kDigestPrime;
}

void digestPicture(std::uint64_t& digest, const std::vector<CHAR_INFO>& cells, int width, int height) {
  digestByte(digest, static_cast<unsigned>(width));
  digestByte(digest, static_cast<unsigned>(height));
  for (const CHAR_INFO& cell : cells) {
    digestByte(digest, static_cast<unsigned char>(cell.Char.AsciiChar));
    digestByte(digest, cell.Attributes);
    digestByte(digest, cell.Attributes >> 8u);
  }
}

struct HeadlessState {
  std::array<bool, kVirtualKeyCount> keys{};
  bool keysExact = true;
  std::int32_t mouseTurn = 0;  // the pointer's turn not yet read by a frame
  int pointerEdge = 0;
  PadReading pad;
  std::uint32_t ticks = 0;
  std::uint64_t slept = 0;
  bool console = false;
  int columns = 80;
  int rows = 25;
  bool audioAvailable = true;
  bool waveWritesFail = false;
  bool consolePlaysSound = false;
  std::vector<SoundRequest> consoleSounds;
  int frameWrites = 0;
  int inputCalls = 0;
  std::function<void(int)> inputScript;
  std::string standardOutput;
  std::string standardError;
  std::vector<CHAR_INFO> lastFrame;
  std::uint64_t picturesDigest = kDigestStart;
  int lastFrameWidth = 0;
  int lastFrameHeight = 0;
  std::vector<headless::ConsoleText> consoleTexts;
  bool cursorVisible = true;
  int cursorColumn = 0;
  int cursorRow = 0;
  std::uint16_t textAttribute = 7;
  int waitForKeyCalls = 0;
};

HeadlessState& state() {
  static HeadlessState instance;
  return instance;
}

// What a test changes in the devices is what the very next query answers, even in the
// middle of a frame: the frame record follows the devices unless a source serves it.
void updateFrameRecord() {
  if (frameInputServed()) return;
  const HeadlessState& s = state();
  FrameInput& frame = currentFrameInput();
  frame.keys = s.keys;
  frame.keysExact = s.keysExact;
  frame.ticks = s.ticks;
  frame.console = s.console;
  frame.columns = s.console ? s.columns : 0;
  frame.rows = s.console ? s.rows : 0;
}

// The wave device is touched by the audio worker as well as the test thread.
std::mutex waveMutex;
WaveDevice* openDevice = nullptr;

}  // namespace

// ---- console ----

ConsoleHandle standardOutputHandle() { return 1; }

bool device::consoleWindowSize(ConsoleHandle, int& columns, int& rows) {
  if (!state().console) return false;
  columns = state().columns;
  rows = state().rows;
  return true;
}

bool device::getConsoleCursorInfo(ConsoleHandle, CursorInfo& info) {
  if (!state().console) return false;
  info.size = 25;
  info.visible = state().cursorVisible;
  return true;
}

bool device::setConsoleCursorInfo(ConsoleHandle, const CursorInfo& info) {
  if (!state().console) return false;
  state().cursorVisible = info.visible;
  return true;
}

bool device::pictureWasCut() { return false; }  // frames are captured whole

bool device::writeConsoleCells(ConsoleHandle, const CHAR_INFO* cells, int width, int height) {
  HeadlessState& s = state();
  ++s.frameWrites;
  s.lastFrame.assign(cells, cells + static_cast<std::size_t>(width) * height);
  digestPicture(s.picturesDigest, s.lastFrame, width, height);
  s.lastFrameWidth = width;
  s.lastFrameHeight = height;
  return s.console;
}

bool device::setConsoleCursorPosition(ConsoleHandle, int column, int row) {
  if (!state().console) return false;
  state().cursorColumn = column;
  state().cursorRow = row;
  return true;
}

bool device::setConsoleTextAttribute(ConsoleHandle, std::uint16_t attribute) {
  if (!state().console) return false;
  state().textAttribute = attribute;
  return true;
}

void device::writeStandardOutput(std::string_view text) {
  HeadlessState& s = state();
  s.standardOutput.append(text);
  if (s.console) s.consoleTexts.push_back({s.cursorColumn, s.cursorRow, s.textAttribute, std::string(text)});
}

void device::writeConsoleText(ConsoleHandle, std::string_view text) {
  HeadlessState& s = state();
  if (!s.console) return;
  s.consoleTexts.push_back({s.cursorColumn, s.cursorRow, s.textAttribute, std::string(text)});
  s.cursorColumn += static_cast<int>(text.size());
}

// ---- keyboard ----

bool device::keyboardAvailable() { return true; }

bool device::readKeyboard(std::array<bool, kVirtualKeyCount>& keys) {
  HeadlessState& s = state();
  if (s.inputScript) s.inputScript(s.inputCalls);
  ++s.inputCalls;
  keys = s.keys;
  return s.keysExact;
}

void device::readMouse(FrameInput& input) {
  input.mouseTurn = std::exchange(state().mouseTurn, 0);
  input.pointerEdge = static_cast<std::int8_t>(state().pointerEdge);
}

void device::readPad(FrameInput& input) { putPadIntoFrame(state().pad, padSettings(), input); }

// ---- clock ----

std::uint32_t device::tickCount() { return state().ticks; }

void device::sleepMilliseconds(std::uint32_t milliseconds) {
  state().ticks += milliseconds;
  state().slept += milliseconds;
  updateFrameRecord();
}

// ---- life ----

void device::start(Colours, const MouseLook&) {}
void device::beginPlay() {}
void device::stop() {}

// ---- process ----

std::string currentDirectory() { return "/headless"; }

std::string defaultSettingsFile() { return std::string(); }

void device::waitForKey() { ++state().waitForKeyCalls; }

void writeStandardError(std::string_view text) { state().standardError.append(text); }

void device::writeStandardOutputBytes(std::string_view text) { state().standardOutput.append(text); }

void exitProcess(int status) { throw headless::ProcessExit{status}; }

// ---- wave output ----

WaveDevice* device::waveOpen(WaveSignal signal, void* context) {
  std::lock_guard<std::mutex> guard(waveMutex);
  if (!state().audioAvailable || openDevice) return nullptr;
  openDevice = new WaveDevice{signal, context, {}, state().waveWritesFail};
  return openDevice;
}

bool device::consolePlaysSound() { return state().consolePlaysSound; }
void device::sendSoundToConsole(const SoundRequest& request) { state().consoleSounds.push_back(request); }

void wavePrepare(WaveDevice*, WaveBuffer& buffer) { buffer.prepared = true; }
void waveUnprepare(WaveDevice*, WaveBuffer& buffer) { buffer.prepared = false; }

bool waveWrite(WaveDevice* device, WaveBuffer& buffer) {
  std::lock_guard<std::mutex> guard(waveMutex);
  if (device->failed) return false;
  buffer.done = false;
  device->queue.push_back(&buffer);
  return true;
}

void waveReset(WaveDevice* device) {
  std::lock_guard<std::mutex> guard(waveMutex);
  for (WaveBuffer* buffer : device->queue) buffer->done = true;
  device->queue.clear();
}

void waveClose(WaveDevice* device) {
  std::lock_guard<std::mutex> guard(waveMutex);
  if (openDevice == device) openDevice = nullptr;
  delete device;
}

// ---- test controls ----

namespace headless {

void reset() {
  HeadlessState& s = state();
  std::function<void(int)> none;
  s.inputScript.swap(none);
  s = HeadlessState{};
  seedRand15(1);
  usePad(PadSettings{});
  readLettersByPosition(false);
  setFrameInputObserver(nullptr);
  setFrameInputSource(nullptr);
  start(Devices::On);
  updateFrameRecord();
}

void setKeyDown(int virtualKey, bool down) {
  if (virtualKey < 0 || virtualKey >= kVirtualKeyCount) return;
  state().keys[static_cast<std::size_t>(virtualKey)] = down;
  updateFrameRecord();
}

void setKeysExact(bool exact) {
  state().keysExact = exact;
  updateFrameRecord();
}

void setMouseTurn(std::int32_t units) {
  state().mouseTurn = units;
  if (!frameInputServed()) currentFrameInput().mouseTurn = units;
}

void setPointerEdge(int edge) {
  state().pointerEdge = edge;
  if (!frameInputServed()) currentFrameInput().pointerEdge = static_cast<std::int8_t>(edge);
}

void setPad(const PadReading& pad) {
  state().pad = pad;
  if (!frameInputServed()) putPadIntoFrame(pad, padSettings(), currentFrameInput());
}

void setTickCount(std::uint32_t milliseconds) {
  state().ticks = milliseconds;
  updateFrameRecord();
}

void setWindowSize(int columns, int rows) {
  state().console = true;
  state().columns = columns;
  state().rows = rows;
  updateFrameRecord();
}

void setNoConsole() {
  state().console = false;
  updateFrameRecord();
}

void setAudioDeviceAvailable(bool available) { state().audioAvailable = available; }
void setConsolePlaysSound(bool plays) { state().consolePlaysSound = plays; }
const std::vector<SoundRequest>& consoleSounds() { return state().consoleSounds; }

int frameWrites() { return state().frameWrites; }

void setInputScript(std::function<void(int)> script) { state().inputScript = std::move(script); }

const std::string& standardOutput() { return state().standardOutput; }
const std::string& standardError() { return state().standardError; }
const std::vector<CHAR_INFO>& lastFrame() { return state().lastFrame; }
int lastFrameWidth() { return state().lastFrameWidth; }
int lastFrameHeight() { return state().lastFrameHeight; }
std::uint64_t picturesDigest() { return state().picturesDigest; }
const std::vector<ConsoleText>& consoleTexts() { return state().consoleTexts; }
bool cursorVisible() { return state().cursorVisible; }
int cursorColumn() { return state().cursorColumn; }
int cursorRow() { return state().cursorRow; }
std::uint16_t textAttribute() { return state().textAttribute; }
int waitForKeyCalls() { return state().waitForKeyCalls; }
std::uint64_t millisecondsSlept() { return state().slept; }

int queuedWaveBuffers() {
  std::lock_guard<std::mutex> guard(waveMutex);
  return openDevice ? static_cast<int>(openDevice->queue.size()) : 0;
}

bool waveDeviceOpen() {
  std::lock_guard<std::mutex> guard(waveMutex);
  return openDevice != nullptr;
}

void setWaveWritesFail(bool fail) {
  std::lock_guard<std::mutex> guard(waveMutex);
  state().waveWritesFail = fail;
  if (openDevice) openDevice->failed = fail;
}

void vanishWaveDevice() {
  WaveSignal signal = nullptr;
  void* context = nullptr;
  {
    std::lock_guard<std::mutex> guard(waveMutex);
    if (!openDevice) return;
    // Gone: what it held comes back unplayed, and nothing more is taken.
    openDevice->failed = true;
    for (WaveBuffer* buffer : openDevice->queue) buffer->done = true;
    openDevice->queue.clear();
    signal = openDevice->signal;
    context = openDevice->context;
  }
  if (signal) signal(context);
}

bool finishWaveBuffer(std::vector<std::int16_t>* samples) {
  WaveSignal signal = nullptr;
  void* context = nullptr;
  {
    std::lock_guard<std::mutex> guard(waveMutex);
    if (!openDevice || openDevice->queue.empty()) return false;
    WaveBuffer* buffer = openDevice->queue.front();
    openDevice->queue.pop_front();
    if (samples) samples->assign(buffer->samples, buffer->samples + buffer->sampleCount);
    buffer->done = true;
    signal = openDevice->signal;
    context = openDevice->context;
  }
  if (signal) signal(context);
  return true;
}

}  // namespace headless
}  // namespace veldra::platform
