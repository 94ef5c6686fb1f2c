#pragma once
// A file written a whole record at a time: a game's recording. Records may wait in memory
// and go out together at a flush; the file always ends after a whole record. On a terminal
// a game ended by a signal (Ctrl+C, a hang-up, a crash) writes out the records waiting
// before it ends, so nothing recorded is lost; elsewhere each record goes out at once.

#include <string>
#include <string_view>

namespace veldra::platform {

struct RecordFile;

// Creates (or empties) the file; nullptr when it cannot be written.
RecordFile* openRecordFile(const std::string& path);
void appendRecord(RecordFile& file, std::string_view record);
void flushRecords(RecordFile& file);
// Flushes and closes; nullptr is allowed. False when some record could not be written (a
// full disk): the file then ends where the writing stopped.
bool closeRecordFile(RecordFile* file);

}  // namespace veldra::platform
