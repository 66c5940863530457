#include "ribbon/RibbonLabel.h"

#include "platform/Twips.h"
#include "ribbon/ColorValue.h"

#include <QFontMetrics>
#include <QPainter>

namespace ribbon {

void RibbonLabel::setCaption(const QString &caption)
{
    caption_ = caption;
    if (autoSize_)
        fitToText();
    update();
}

void RibbonLabel::setForeColor(quint32 colorValue)
{
    foreColor_ = colorValue;
    update();
}

void RibbonLabel::setAutoSize(bool on)
{
    autoSize_ = on;
    if (autoSize_)
        fitToText();
}

void RibbonLabel::setTextFont(const QString &family, double pointSize)
{
    QFont font(family);
    font.setPointSizeF(pointSize);
    setFont(font);
    if (autoSize_)
        fitToText();
}

void RibbonLabel::copyFrom(const RibbonLabel &source)
{
    copyCommon(source);
    setFont(source.font());
    caption_ = source.caption_;
    foreColor_ = source.foreColor_;
    autoSize_ = source.autoSize_;
    centred_ = source.centred_;
}

QString RibbonLabel::displayText() const
{
    QString text = caption_;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

void RibbonLabel::fitToText()
{
    const QFontMetrics metrics(font());
    const QString text = displayText();
    const int lines = int(text.count(QLatin1Char('\n'))) + 1;
    int widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        widest = qMax(widest, metrics.horizontalAdvance(line));
    setWidth(platform::pixelsToTwips(widest));
    setHeight(platform::pixelsToTwips(metrics.height() + (lines - 1) * metrics.lineSpacing()));
}

void RibbonLabel::paintEvent(QPaintEvent *)
{
    if (caption_.isEmpty())
        return;
    QPainter painter(this);
    painter.setPen(colorFromValue(foreColor_));
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignTop | (centred_ ? Qt::AlignHCenter : Qt::AlignLeft), displayText());
}

} // namespace ribbon
