#pragma once
// What a database was built from, written beside its tables (table `release`,
// rows of Item and Value) so the program can tell the coder which code set
// it shows: codes change every October.

#include "tools/Release.h"

#include <string>
#include <utility>
#include <vector>

namespace pcsdb {

using ReleaseFacts = std::vector<std::pair<std::string, std::string>>;

// builtOn: yyyy-mm-dd.
ReleaseFacts describeRelease(const Release &release, std::size_t codeCount, const std::string &builtOn);

// Today, or the day SOURCE_DATE_EPOCH names, so a packaged build is reproducible.
std::string buildDate();

} // namespace pcsdb
