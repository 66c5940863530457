#pragma once
// Theme colours and pictures (filled in with the theme loader).
#include <QtGlobal>
namespace ribbon {
class RibbonTheme {
public:
    quint32 backColor = 0x464646;
    quint32 foreColor = 0xFFFFFF;
};
} // namespace ribbon
