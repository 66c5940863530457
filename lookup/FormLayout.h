#pragma once
// Building the search window's controls at their positions in twips.

#include <QFont>
#include <QList>
#include <QSize>
#include <QString>

class QWidget;
class QLabel;

namespace lookup::form {

// How far, in pixels, a control moves and grows from its design rectangle
// when its container is larger than its design size. All zero at the design
// size, so every control is exactly where the design puts it.
struct Growth {
    int right = 0; // moves right
    int down = 0;  // moves down
    int wider = 0;
    int taller = 0;
};

// Places w at a rectangle given in twips of its parent, grown as told.
void place(QWidget *w, int left, int top, int width, int height, Growth growth = {});

// How much larger than its design size (in twips) a container is, in pixels;
// never negative.
QSize extraSize(const QWidget *container, int designWidth, int designHeight);

// Tab moves through the widgets in this order.
void chainTabOrder(const QList<QWidget *> &order);

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
// The same, for a container that places its captions itself when it is laid out.
QLabel *caption(QWidget *parent, const QString &text, const QFont &font);
// The same look for a label made elsewhere; returns it.
template <class Label> Label *caption(Label *label, const QFont &font)
{
    label->setFont(font);
    label->setAutoFillBackground(false);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace lookup::form
