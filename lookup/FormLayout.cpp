#include "lookup/FormLayout.h"

#include "platform/Twips.h"

#include <QLabel>
#include <QWidget>

namespace lookup::form {

void place(QWidget *w, int left, int top, int width, int height)
{
    w->setGeometry(platform::twipsRect(left, top, width, height));
}

QFont font(const QString &family, double points, bool bold)
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

QFont tahoma(double points)
{
    return font(QStringLiteral("Tahoma"), points);
}

QFont sansSerif(double points)
{
    return font(QStringLiteral("MS Sans Serif"), points);
}

QFont timesRoman(double points)
{
    return font(QStringLiteral("Times New Roman"), points);
}

QLabel *caption(QWidget *parent, const QString &text, const QFont &font, int left, int top, int width, int height)
{
    auto *label = new QLabel(text, parent);
    label->setFont(font);
    label->setAutoFillBackground(false);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(label, left, top, width, height);
    return label;
}

} // namespace lookup::form
