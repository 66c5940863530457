#pragma once
// Colour values as the ribbon stores them: 32-bit 0x00BBGGRR, red in the low
// byte. A value with the high bit set names a system colour (its low byte is the
// system colour index) and is resolved against the application palette when drawn;
// the one the themes use is window text.

#include <QColor>
#include <QtGlobal>

namespace ribbon {

inline constexpr quint32 SystemColorFlag = 0x80000000u;
inline constexpr quint32 SystemWindowText = SystemColorFlag | 8u;

constexpr quint32 colorValue(int red, int green, int blue)
{
    return quint32(red & 0xFF) | (quint32(green & 0xFF) << 8) | (quint32(blue & 0xFF) << 16);
}

// The colour to draw with; system colours are looked up at the moment of the call.
QColor colorFromValue(quint32 value);

} // namespace ribbon
