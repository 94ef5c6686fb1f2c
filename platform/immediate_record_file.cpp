// The record file where no signal path needs care (the Windows console, the headless
// backend): each record is written and flushed as it comes.

#include <cstdio>

#include "platform/record_file.h"

namespace veldra::platform {

struct RecordFile {
  std::FILE* file = nullptr;
};

RecordFile* openRecordFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return nullptr;
  return new RecordFile{file};
}

void appendRecord(RecordFile& file, std::string_view record) {
  std::fwrite(record.data(), 1, record.size(), file.file);
  std::fflush(file.file);
}

void flushRecords(RecordFile& file) { std::fflush(file.file); }

void closeRecordFile(RecordFile* file) {
  if (!file) return;
  std::fclose(file->file);
  delete file;
}

}  // namespace veldra::platform
