#include "ribbon/ColorValue.h"

#include <QGuiApplication>
#include <QPalette>

namespace ribbon {

QColor colorFromValue(quint32 value)
{
    // The themes name one system colour, window text (index 8), and nothing
    // else sets a colour: a system colour is the palette's window text.
    if (value & SystemColorFlag)
        return QGuiApplication::palette().color(QPalette::WindowText);
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

} // namespace ribbon
