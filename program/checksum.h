#pragma once
// CRC-32 (the polynomial of zip and PNG), for recordings: their own integrity, the level
// files they were made on, and the frames and states they must reproduce.

#include <cstdint>
#include <string_view>

namespace veldra {

class Crc32 {
 public:
  void add(const void* data, std::size_t size);
  void add(std::string_view bytes) { add(bytes.data(), bytes.size()); }
  template <typename T>
  void addValue(const T& value) {
    add(&value, sizeof value);
  }
  std::uint32_t value() const { return ~state_; }

 private:
  std::uint32_t state_ = 0xFFFFFFFFu;
};

std::uint32_t crc32(std::string_view bytes);

}  // namespace veldra
