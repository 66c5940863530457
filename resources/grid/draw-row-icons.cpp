// Draws the eleven 32 x 32 row icons of the details grid into row01.png ...
// row11.png. Built only on request (see README.md in this folder); the PNGs it
// wrote are kept beside it and built into the program.

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <functional>

namespace {

constexpr int Size = 32;
const QColor Ink(0, 0, 128);        // the grid's text colour
const QColor Paper(255, 255, 255);
const QColor Outline(70, 70, 90);
const QColor Pcs10(30, 90, 170);    // ICD-10-PCS: blue
const QColor Icd9(20, 130, 90);     // ICD-9: green
const QColor Accent(235, 120, 20);  // the code character a row describes
const QColor Muted(185, 185, 200);

QFont boldFont(int pixels)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setBold(true);
    return font;
}

// A sheet of paper with a folded corner and lines of text.
void drawPage(QPainter &p, const QRectF &area, int lines)
{
    const qreal fold = 7;
    QPainterPath sheet;
    sheet.moveTo(area.left(), area.top());
    sheet.lineTo(area.right() - fold, area.top());
    sheet.lineTo(area.right(), area.top() + fold);
    sheet.lineTo(area.right(), area.bottom());
    sheet.lineTo(area.left(), area.bottom());
    sheet.closeSubpath();
    p.setPen(QPen(Outline, 1.2));
    p.setBrush(Paper);
    p.drawPath(sheet);
    QPainterPath corner;
    corner.moveTo(area.right() - fold, area.top());
    corner.lineTo(area.right() - fold, area.top() + fold);
    corner.lineTo(area.right(), area.top() + fold);
    p.setBrush(Muted);
    p.drawPath(corner);
    p.setPen(QPen(Ink, 1.6, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < lines; ++i) {
        const qreal y = area.top() + 10 + i * 4.5;
        const qreal right = (i == lines - 1) ? area.center().x() + 2 : area.right() - 4;
        p.drawLine(QPointF(area.left() + 4, y), QPointF(right, y));
    }
}

// A rounded badge with a short white text.
void drawBadge(QPainter &p, const QRectF &area, const QColor &fill, const QString &text, int pixels)
{
    p.setPen(QPen(fill.darker(140), 1.2));
    p.setBrush(fill);
    p.drawRoundedRect(area, 5, 5);
    p.setPen(Qt::white);
    p.setFont(boldFont(pixels));
    p.drawText(area, Qt::AlignCenter, text);
}

// The seven characters of a code as cells; cell n stands out.
void drawCodeCharacter(QPainter &p, int n)
{
    p.setPen(Ink);
    p.setFont(boldFont(19));
    p.drawText(QRectF(0, 0, Size, 22), Qt::AlignCenter, QString::number(n));
    // Whole pixels, so the cells stay apart at this size.
    const int cell = 3, gap = 1;
    const int left = (Size - (7 * cell + 6 * gap)) / 2;
    for (int i = 1; i <= 7; ++i) {
        const QRect box(left + (i - 1) * (cell + gap), i == n ? 22 : 25, cell, i == n ? 9 : 6);
        p.setPen(Qt::NoPen);
        p.setBrush(i == n ? Accent : Muted);
        p.drawRect(box);
    }
}

const std::function<void(QPainter &)> icons[] = {
    // 1 Procedure Name
    [](QPainter &p) { drawPage(p, QRectF(5.5, 2.5, 21, 27), 4); },
    // 2 ICD 10 - PCS Code
    [](QPainter &p) { drawBadge(p, QRectF(1.5, 6.5, 29, 19), Pcs10, QStringLiteral("10"), 15); },
    // 3 ICD 9 - PCS Code
    [](QPainter &p) { drawBadge(p, QRectF(5.5, 6.5, 21, 19), Icd9, QStringLiteral("9"), 16); },
    // 4 ICD 9 - PCS Description
    [](QPainter &p) {
        drawPage(p, QRectF(2.5, 2.5, 20, 27), 4);
        drawBadge(p, QRectF(16.5, 15.5, 14, 14), Icd9, QStringLiteral("9"), 11);
    },
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir target(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    for (int n = 1; n <= 11; ++n) {
        QImage image(Size, Size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        if (n <= 4)
            icons[n - 1](painter);
        else
            drawCodeCharacter(painter, n - 4);
        painter.end();
        const QString path = target.filePath(QStringLiteral("row%1.png").arg(n, 2, 10, QLatin1Char('0')));
        if (!image.save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
