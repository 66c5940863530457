#include "ribbon/ColorValue.h"

#include <QGuiApplication>
#include <QPalette>

namespace ribbon {

namespace {

// The system colour indexes that have a counterpart in a Qt palette; the rest
// fall back to window text, the one the ribbon uses.
QPalette::ColorRole roleForSystemIndex(quint32 index)
{
    switch (index) {
    case 1: return QPalette::Window;          // desktop
    case 5: return QPalette::Base;            // window
    case 8: return QPalette::WindowText;      // window text
    case 13: return QPalette::Highlight;
    case 14: return QPalette::HighlightedText;
    case 15: return QPalette::Button;
    case 18: return QPalette::ButtonText;
    default: return QPalette::WindowText;
    }
}

} // namespace

QColor colorFromValue(quint32 value)
{
    if (value & SystemColorFlag)
        return QGuiApplication::palette().color(roleForSystemIndex(value & 0xFFu));
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

} // namespace ribbon
