// Kept heights of wrapped cell texts are the heights a fresh layout gives, for
// every width and font they are asked in, however often they are asked.

#include "platform/grid/WrappedTextHeights.h"

#include <QtTest>

using platform::WrappedTextHeights;

class WrappedTextHeightsTest : public QObject {
    Q_OBJECT

private slots:
    void heightsAreWhatALayoutGives()
    {
        const QStringList texts = {QStringLiteral("None"), QStringLiteral("Heart, Right and Left"),
                                   QStringLiteral("Computerized Tomography (CT Scan) of Right and Left Heart using "
                                                  "High Osmolar Contrast, Unenhanced and Enhanced"),
                                   QStringLiteral("ICD 9 - PCS Description")};
        const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;
        WrappedTextHeights kept;
        QFont small(QStringLiteral("Tahoma"));
        small.setPointSizeF(8.25);
        QFont large = small;
        large.setPointSize(20);
        // Twice over each font, and back: answers from the store must not
        // outlive the font they were measured in.
        for (const QFont &font : {small, small, large, large, small}) {
            const QFontMetrics metrics(font);
            for (const int width : {40, 120, 400, 2000}) {
                for (const QString &text : texts) {
                    const QRect room(0, 0, width, 1 << 20);
                    QCOMPARE(kept.height(metrics, font, room, flags, text), metrics.boundingRect(room, flags, text).height());
                }
            }
        }
    }
};

QTEST_MAIN(WrappedTextHeightsTest)
#include "tst_wrapped_text_heights.moc"
