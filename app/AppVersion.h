#pragma once
// The program's identity: the numbers of its version resource, its name and its maker.

namespace app::version {

inline constexpr int Major = 1;
inline constexpr int Minor = 0;
inline constexpr int Revision = 19;
// File and product version, as four numbers.
inline constexpr char FileVersion[] = "1.0.0.19";
inline constexpr char ProductName[] = "Vorimel";
inline constexpr char CompanyName[] = "Dantreb";

} // namespace app::version
