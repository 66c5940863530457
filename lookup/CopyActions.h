#pragma once
// Copying from the search window's lists and grid: Ctrl+C and a context menu.
// Coders paste codes and titles into claims and encoders many times a day.

#include <QString>
#include <functional>

class QAction;
class QWidget;

namespace lookup {

// Puts text on the clipboard and, where the window system has one (X11), on
// the primary selection too. Empty text leaves both as they were.
void copyText(const QString &text);

// Adds an entry to w's context menu that copies what text() gives at the
// time; with onCopyKey it also answers Ctrl+C (the platform's Copy keys)
// while w has the focus.
QAction *addCopyAction(QWidget *w, const QString &caption, std::function<QString()> text, bool onCopyKey = false);

} // namespace lookup
