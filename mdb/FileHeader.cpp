#include "mdb/FileHeader.h"

#include <cstring>

#include "mdb/Bytes.h"
#include "mdb/Rc4.h"

namespace mdb {

namespace {
constexpr std::size_t kMaskedBlockOffset = 0x18;
constexpr std::size_t kMaskedBlockSize = 128;
constexpr std::uint32_t kJetVersion4 = 1;
constexpr std::uint16_t kCodePage = 1252;
} // namespace

Page buildFileHeaderPage()
{
    Page page{};
    page[1] = 0x01;
    std::memcpy(&page[0x04], "Standard Jet DB", 16);
    storeU32(&page[0x14], kJetVersion4);

    // Plain values of the masked block; everything not set stays zero: no
    // page-encryption key, no password, no creation date (a date would need
    // the password area to hold its mask).
    storeU16(&page[0x3C], kCodePage);
    storeU16(&page[0x6E], jet::kGeneralSortOrder);

    Rc4 mask(kHeaderMaskKey.data(), kHeaderMaskKey.size());
    mask.apply(&page[kMaskedBlockOffset], kMaskedBlockSize);
    return page;
}

} // namespace mdb
