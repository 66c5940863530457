#pragma once
// The ribbon's visual parts (filled in with the element arrays).
namespace ribbon {
class RibbonParts {};
} // namespace ribbon
