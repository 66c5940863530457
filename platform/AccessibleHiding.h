#pragma once
// Controls that exist only to hold data beside a visible one (the hidden twins
// of a list) are no business of a screen reader: Qt would still list them, as
// invisible lists of numbers, among their container's children.

class QWidget;

namespace platform {

// A widget class that gives assistive technology an interface of its own
// declares Q_CLASSINFO(OWN_ACCESSIBLE_INTERFACE, "yes"), so the containers'
// interface below leaves it alone.
#define OWN_ACCESSIBLE_INTERFACE "vorimelOwnAccessibleInterface"
inline constexpr const char *OwnAccessibleInterface = OWN_ACCESSIBLE_INTERFACE;

// Leaves w out of its container's children as assistive technology sees them.
void hideFromAssistiveTechnology(QWidget *w);
bool isHiddenFromAssistiveTechnology(const QWidget *w);

} // namespace platform
