#pragma once
// Small helpers over element arrays for the layout and the mouse handling:
// a missing element reads as hidden and ignores writes, as the passes expect of
// an element an earlier (or nested) pass has already destroyed.

#include "ribbon/ElementArray.h"
#include "ribbon/RibbonElement.h"

#include <QtGlobal>

#include <cmath>
#include <initializer_list>
#include <limits>

namespace ribbon {

// A handful of elements of different kinds, to treat alike.
using ElementList = std::initializer_list<RibbonElement *>;

template <class Element>
bool isShown(const ElementArray<Element> &array, int index)
{
    const Element *element = array(index);
    return element && element->Visible();
}

template <class Element>
void setShown(const ElementArray<Element> &array, int index, bool shown)
{
    if (Element *element = array(index))
        element->setShown(shown);
}

template <class Element>
void bringToFront(const ElementArray<Element> &array, int index)
{
    if (Element *element = array(index))
        element->BringToFront();
}

// Twips to the nearest 16-bit integer, halves to even; values beyond the range
// stay at its ends.
inline qint16 toInt16(float twips)
{
    const float rounded = std::nearbyint(twips);
    if (!(rounded >= float(std::numeric_limits<qint16>::min())))
        return std::numeric_limits<qint16>::min();
    if (rounded > float(std::numeric_limits<qint16>::max()))
        return std::numeric_limits<qint16>::max();
    return qint16(rounded);
}

} // namespace ribbon
