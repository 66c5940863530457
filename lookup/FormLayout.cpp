#include "lookup/FormLayout.h"

#include "platform/Twips.h"

#include <QLabel>
#include <QWidget>

namespace lookup::form {

void place(QWidget *w, int left, int top, int width, int height, Growth growth)
{
    const QRect design = platform::twipsRect(left, top, width, height);
    w->setGeometry(design.adjusted(growth.right, growth.down, growth.right + growth.wider,
                                   growth.down + growth.taller));
}

QSize extraSize(const QWidget *container, int designWidth, int designHeight)
{
    const QSize extra = container->size()
                        - QSize(platform::twipsToPixels(designWidth), platform::twipsToPixels(designHeight));
    return extra.expandedTo(QSize(0, 0));
}

void chainTabOrder(const QList<QWidget *> &order)
{
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
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

QLabel *caption(QWidget *parent, const QString &text, const QFont &font)
{
    return caption(new QLabel(text, parent), font);
}

QLabel *caption(QWidget *parent, const QString &text, const QFont &font, int left, int top, int width, int height)
{
    QLabel *label = caption(parent, text, font);
    place(label, left, top, width, height);
    return label;
}

} // namespace lookup::form
