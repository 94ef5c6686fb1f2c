#include "platform/key_places.h"

#include "platform/keyboard.h"

namespace veldra::platform {
namespace {

// Scan codes 0x02 to 0x35, row by row: 1 to 0, - =, then Q to ], A to ' and `, \, Z to /.
constexpr int kUsKeys[kLastPlacedScanCode - kFirstPlacedScanCode + 1] = {
    '1', '2', '3', '4', '5', '6', '7', '8', '9', '0', vk::kMinus, vk::kEquals,                   // 0x02-0x0D
    0,   0,                                                                                      // Backspace, Tab
    'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P', vk::kLeftBracket, vk::kRightBracket,       // 0x10-0x1B
    0,   0,                                                                                      // Enter, Ctrl
    'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L', vk::kSemicolon, vk::kQuote, vk::kBackquote,     // 0x1E-0x29
    0,   vk::kBackslash,                                                                         // Shift, '\'
    'Z', 'X', 'C', 'V', 'B', 'N', 'M', vk::kComma, vk::kPeriod, vk::kSlash,                      // 0x2C-0x35
};

}  // namespace

int usKeyAtScanCode(int scanCode) {
  if (scanCode < kFirstPlacedScanCode || scanCode > kLastPlacedScanCode) return 0;
  return kUsKeys[scanCode - kFirstPlacedScanCode];
}

}  // namespace veldra::platform
