#pragma once
// Escape and Ctrl+F4 leave a child window of the frame, as they do in every
// program with child windows. Qt's frame around a child knows Ctrl+F4 too: a
// shortcut of the window's own would make the key ambiguous, and an ambiguous
// key does nothing. The key is therefore claimed before any shortcut sees it.

#include <functional>

class QWidget;

namespace platform {

// Calls leave when Escape or Ctrl+F4 is pressed anywhere in window.
void leaveOnEscapeOrCtrlF4(QWidget *window, std::function<void()> leave);

} // namespace platform
