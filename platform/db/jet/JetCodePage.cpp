#include "platform/db/jet/JetCodePage.h"

#include "platform/db/jet/JetReader.h"
#include "platform/db/jet/JetText.h"

#include <cerrno>
#include <iconv.h>

namespace platform::db {
namespace {

constexpr unsigned kWestern = 1252;
constexpr char32_t kReplacement = 0xFFFD;

// 0x80..0x9F of Windows-1252; the other bytes are Latin-1. Zero: undefined.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

void appendUtf8(char32_t c, std::string &out)
{
    char bytes[4];
    out.append(bytes, putUtf8(c, bytes));
}

} // namespace

CodePageText::CodePageText(unsigned codePage) : codePage_(codePage == 0 ? kWestern : codePage)
{
    if (codePage_ == kWestern)
        return;
    const std::string name = "CP" + std::to_string(codePage_);
    iconv_t converter = iconv_open("UTF-8", name.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1))
        throw JetDamage("its text is in code page " + std::to_string(codePage_) + ", which cannot be converted here");
    converter_ = converter;
}

CodePageText::~CodePageText()
{
    if (converter_)
        iconv_close(static_cast<iconv_t>(converter_));
}

void CodePageText::appendAsUtf8(std::string_view stored, std::string &out)
{
    if (!converter_) {
        for (unsigned char b : stored) {
            const char32_t c = b >= 0x80 && b < 0xA0 ? kWindows1252High[b - 0x80] : b;
            appendUtf8(c == 0 && b != 0 ? kReplacement : c, out);
        }
        return;
    }
    auto *converter = static_cast<iconv_t>(converter_);
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    char *in = const_cast<char *>(stored.data());
    std::size_t inLeft = stored.size();
    char buffer[1024];
    while (inLeft > 0) {
        char *to = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(converter, &in, &inLeft, &to, &outLeft);
        out.append(buffer, static_cast<std::size_t>(to - buffer));
        if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // An undefined or cut-off byte: mark it and go on.
            appendUtf8(kReplacement, out);
            ++in;
            --inLeft;
        }
    }
}

} // namespace platform::db
