#pragma once
// Building the search window's controls at their positions in twips.

#include <QFont>
#include <QString>

class QWidget;
class QLabel;

namespace lookup::form {

// Places w at a rectangle given in twips of its parent.
void place(QWidget *w, int left, int top, int width, int height);

// The named face at a size in points; bold unless told otherwise. Faces the
// system lacks are substituted by fontconfig.
QFont font(const QString &family, double points, bool bold = true);
QFont tahoma(double points);
QFont sansSerif(double points); // MS Sans Serif
QFont timesRoman(double points);

// A caption drawn on its container's surface: no background of its own, so
// whatever lies beneath (the window's picture) shows around the text.
QLabel *caption(QWidget *parent, const QString &text, const QFont &font, int left, int top, int width,
                int height);

} // namespace lookup::form
