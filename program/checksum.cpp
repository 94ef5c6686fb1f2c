#include "program/checksum.h"

#include <array>

namespace veldra {
namespace {

constexpr std::uint32_t kPolynomial = 0xEDB88320u;  // reflected 0x04C11DB7

constexpr std::array<std::uint32_t, 256> makeTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? kPolynomial ^ (c >> 1) : c >> 1;
    table[i] = c;
  }
  return table;
}

constexpr std::array<std::uint32_t, 256> kTable = makeTable();

}  // namespace

void Crc32::add(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  for (std::size_t i = 0; i < size; ++i) state_ = kTable[(state_ ^ bytes[i]) & 0xFFu] ^ (state_ >> 8);
}

std::uint32_t crc32(std::string_view bytes) {
  Crc32 crc;
  crc.add(bytes);
  return crc.value();
}

}  // namespace veldra
