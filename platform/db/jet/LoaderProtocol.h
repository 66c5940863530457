#pragma once
// What the program and its loader program (vorimel-load) agree on. The loader
// finds three descriptors in place when it starts: the file's bytes in a
// sealed memory file it may only read, an empty memory file for the finished
// database, and the write end of a pipe for its messages. Its last argument is
// the program's process id, so that it can tell whether it has been orphaned.
// Messages: a heartbeat byte now and then, then one frame: a tag and a 64-bit
// size, followed for a failure by that many bytes of description. A database
// frame's size is the length of the database the loader built in the memory
// file, which it has cut to that length before sending the frame.

#include "platform/db/jet/LayerGuard.h"

#include <cstdint>

namespace platform::db::loader {

constexpr int kSourceFd = 3;
constexpr int kResultFd = 4;
constexpr int kMessagesFd = 5;

enum Tag : char { Heartbeat = 'H', Database = 'D', Failure = 'E' };

// A damaged file cannot make the loader hand over more than this.
constexpr std::uint64_t kLargestCopy = std::uint64_t(16) << 30;

// The program file of the loader, installed beside the program's executable.
inline constexpr char kProgramName[] = "vorimel-load";

} // namespace platform::db::loader
