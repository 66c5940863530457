// One of the builder's readers of a CMS release file on any bytes, chosen when
// compiled (CMS_READER_HEADER, CMS_READ): a SourceError is fine, anything else
// (a crash, a sanitizer report, another exception) is not.

#include "fuzz/InputFile.h"
#include CMS_READER_HEADER
#include "tools/SourceError.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    try {
        CMS_READ(fuzz::asFile(data, size));
    } catch (const pcsdb::SourceError &) {
    }
    return 0;
}
