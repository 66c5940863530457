#pragma once
#include "platform/db/jet/LayerGuard.h"
// Jet 3 files keep Text and Memo as bytes of the code page their header
// names (Windows-1252 for Western European ones), not as UTF-16.

#include <string>
#include <string_view>

namespace platform::db {

class CodePageText {
public:
    // Throws JetDamage when this system cannot convert codePage.
    explicit CodePageText(unsigned codePage);
    ~CodePageText();
    CodePageText(const CodePageText &) = delete;
    CodePageText &operator=(const CodePageText &) = delete;

    // Appends the UTF-8 form; bytes the code page leaves undefined become U+FFFD.
    void appendAsUtf8(std::string_view stored, std::string &out);

private:
    unsigned codePage_;
    void *converter_ = nullptr; // iconv_t for code pages other than 1252
};

} // namespace platform::db
