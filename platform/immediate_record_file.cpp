// The record file where no signal path needs care (the Windows console, the headless
// backend): each record is written and flushed as it comes.

#include <cstdio>

#include "platform/record_file.h"

namespace veldra::platform {

struct RecordFile {
  std::FILE* file = nullptr;
  bool failed = false;
};

RecordFile* openRecordFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return nullptr;
  return new RecordFile{file};
}

void appendRecord(RecordFile& file, std::string_view record) {
  if (file.failed) return;
  const bool written = std::fwrite(record.data(), 1, record.size(), file.file) == record.size();
  if (!written || std::fflush(file.file) != 0) file.failed = true;
}

void flushRecords(RecordFile& file) {
  if (std::fflush(file.file) != 0) file.failed = true;
}

bool closeRecordFile(RecordFile* file) {
  if (!file) return true;
  const bool closed = std::fclose(file->file) == 0;
  const bool whole = closed && !file->failed;
  delete file;
  return whole;
}

}  // namespace veldra::platform
