#pragma once
// The common-controls registration the start-up asks for. Qt's widgets need no
// window classes registered, so both calls succeed without doing anything; they
// keep the start-up's steps in one place should a platform ever need them.

#include <cstdint>

namespace platform::desktop {

struct INITCOMMONCONTROLSEX {
    std::uint32_t dwSize = 0;
    std::uint32_t dwICC = 0;
};

inline constexpr std::uint32_t ICC_USEREX_CLASSES = 0x200;

inline bool InitCommonControlsEx(const INITCOMMONCONTROLSEX *) { return true; }
inline void InitCommonControls() {}

} // namespace platform::desktop
