#pragma once

#include <string_view>

namespace veldra::platform::terminal {

// The Unicode character (as UTF-8) that code page 437 shows for this byte.
std::string_view cp437ToUtf8(unsigned char byte);

}  // namespace veldra::platform::terminal
