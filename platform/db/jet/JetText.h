#pragma once
// Decoding of Jet 4 Text and Memo bytes: plain UTF-16LE, or the "compressed"
// form (FF FE, then runs of one-byte Latin-1 characters and two-byte units, a
// 00 byte switching between them). Surrogate pairs come out as one character.

#include "platform/db/jet/LayerGuard.h"

#include <string>
#include <string_view>

namespace platform::db {

// Appends the UTF-8 form of the stored bytes to out. Unpaired surrogates and a
// trailing odd byte become U+FFFD.
void appendJetTextAsUtf8(std::string_view stored, std::string &out);

} // namespace platform::db
