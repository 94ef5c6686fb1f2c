// The record file on a terminal: records wait in memory and go out in one write a flush (the
// recorder flushes about once a second), so that a frame costs no system call of its own.
// A game ended by a signal writes out what waits from its handler. That handler may run at
// any instruction of the game's own writing, so the waiting bytes never move while the file
// is open, every write says where in the file its bytes belong (writing them twice in the
// same place does no harm), and the two counts change in an order that never shows the
// handler bytes that are not to be written where it would write them.

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>

#include "platform/record_file.h"
#include "platform/terminal/terminal_session.h"

namespace veldra::platform {

constexpr std::size_t kWaitingCapacity = 64 * 1024;

struct RecordFile {
  int fd = -1;
  std::atomic<bool> failed{false};  // a write failed: nothing more is written, the file ends where it does
  bool seekable = true;  // false for a pipe or a terminal: each record is written as it comes
  std::unique_ptr<char[]> waiting = std::make_unique<char[]>(kWaitingCapacity);
  std::atomic<std::size_t> waitingBytes{0};
  std::atomic<std::int64_t> waitingAt{0};  // where in the file the waiting bytes belong
};

namespace {

std::atomic<RecordFile*> fileForSignals{nullptr};

// Async-signal-safe: only pwrite(2) (write(2) where the file has no places). The bytes written.
std::size_t writeAt(const RecordFile& file, const char* bytes, std::size_t size, std::int64_t at) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = file.seekable
                          ? ::pwrite(file.fd, bytes + done, size - done, static_cast<off_t>(at) + static_cast<off_t>(done))
                          : ::write(file.fd, bytes + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

// Async-signal-safe.
void writeOut(RecordFile& file) {
  const std::int64_t at = file.waitingAt.load();
  const std::size_t size = file.waitingBytes.load();
  if (size == 0 || file.failed) return;
  const std::size_t written = writeAt(file, file.waiting.get(), size, at);
  file.waitingBytes.store(0);
  file.waitingAt.store(at + static_cast<std::int64_t>(written));
  if (written < size) file.failed = true;
}

}  // namespace

RecordFile* openRecordFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  auto* file = new RecordFile;
  file->fd = fd;
  file->seekable = ::lseek(fd, 0, SEEK_CUR) != -1;
  fileForSignals.store(file);
  return file;
}

void appendRecord(RecordFile& file, std::string_view record) {
  if (file.failed) return;
  if (record.size() > kWaitingCapacity - file.waitingBytes.load()) writeOut(file);
  const std::size_t size = file.waitingBytes.load();
  // A record larger than the room there is goes straight out; so does every record where
  // the file has no places to write at (there a handler's write could not be undone).
  if (record.size() > kWaitingCapacity || !file.seekable) {
    const std::int64_t at = file.waitingAt.load();
    const std::size_t written = writeAt(file, record.data(), record.size(), at);
    file.waitingAt.store(at + static_cast<std::int64_t>(written));
    if (written < record.size()) file.failed = true;
    return;
  }
  std::memcpy(file.waiting.get() + size, record.data(), record.size());
  file.waitingBytes.store(size + record.size());
}

void flushRecords(RecordFile& file) { writeOut(file); }

bool closeRecordFile(RecordFile* file) {
  if (!file) return true;
  writeOut(*file);
  RecordFile* expected = file;
  fileForSignals.compare_exchange_strong(expected, nullptr);
  const bool whole = ::close(file->fd) == 0 && !file->failed;
  delete file;
  return whole;
}

namespace terminal {

void writeOutWaitingRecords() {
  if (RecordFile* file = fileForSignals.load()) writeOut(*file);
}

}  // namespace terminal
}  // namespace veldra::platform
