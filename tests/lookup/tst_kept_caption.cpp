// A caption that keeps its pixels must look exactly like a plain QLabel in
// every state: over another colour or picture, with other text, disabled,
// wrapped, painted in part, and with selected or rich text (which it leaves
// to QLabel).

#include "lookup/KeptCaption.h"

#include <QLinearGradient>
#include <QPainter>
#include <QtTest>
#include <functional>

namespace {

// A surface under the caption, as the search window is: a colour, or a
// picture of its own.
class Surface : public QWidget {
public:
    explicit Surface(QWidget *parent) : QWidget(parent) { setAutoFillBackground(true); }
    bool picture = false;

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (!picture)
            return;
        QPainter painter(this);
        QLinearGradient gradient(0, 0, width(), height());
        gradient.setColorAt(0, Qt::darkCyan);
        gradient.setColorAt(1, Qt::yellow);
        painter.fillRect(rect(), gradient);
    }
};

} // namespace

class KeptCaptionTest : public QObject {
    Q_OBJECT

private slots:
    void paintsAsALabelInEveryState()
    {
        QWidget window;
        window.resize(900, 300);
        auto *plainSurface = new Surface(&window);
        auto *keptSurface = new Surface(&window);
        plainSurface->setGeometry(0, 0, 440, 300);
        keptSurface->setGeometry(450, 0, 440, 300);
        auto *plain = new QLabel(QStringLiteral("Loading, Please Wait..."), plainSurface);
        auto *kept = new lookup::KeptCaption(QStringLiteral("Loading, Please Wait..."), keptSurface);
        const auto both = [&](const std::function<void(Surface *, QLabel *)> &change) {
            change(plainSurface, plain);
            change(keptSurface, kept);
        };
        both([](Surface *, QLabel *label) {
            QFont font = label->font();
            font.setPointSize(24);
            font.setBold(true);
            label->setFont(font);
            label->setGeometry(20, 40, 400, 120);
        });
        // Each state is painted twice: the second time from the kept pixels.
        const auto compare = [&](const char *state) {
            for (int i = 0; i < 2; ++i) {
                QCoreApplication::processEvents();
                const QImage expected = plainSurface->grab().toImage();
                QVERIFY2(keptSurface->grab().toImage() == expected, state);
            }
        };
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        compare("plain");
        both([](Surface *surface, QLabel *) {
            QPalette palette = surface->palette();
            palette.setColor(QPalette::Window, QColor(120, 40, 40));
            surface->setPalette(palette);
        });
        compare("over another colour");
        both([](Surface *surface, QLabel *) {
            surface->picture = true;
            surface->update();
        });
        compare("over a picture");
        both([](Surface *, QLabel *label) { label->move(60, 90); });
        compare("moved over the picture");
        both([](Surface *, QLabel *label) { label->setText(QStringLiteral("Other text")); });
        compare("other text");
        both([](Surface *, QLabel *label) { label->setEnabled(false); });
        compare("disabled");
        both([](Surface *, QLabel *label) {
            label->setEnabled(true);
            label->setText(QStringLiteral("A longer caption that wraps onto a second line and a third"));
            label->setWordWrap(true);
        });
        compare("wrapped");
        both([](Surface *, QLabel *label) { label->resize(250, 160); });
        compare("narrower");
        both([](Surface *, QLabel *label) { label->setAlignment(Qt::AlignRight | Qt::AlignBottom); });
        compare("aligned otherwise");
        both([](Surface *, QLabel *label) { label->setContentsMargins(0, 0, 30, 20); });
        compare("with margins");
        both([](Surface *, QLabel *label) { label->setForegroundRole(QPalette::Highlight); });
        compare("in another colour role");
        both([](Surface *, QLabel *label) {
            label->setTextInteractionFlags(Qt::TextSelectableByMouse);
            label->setSelection(2, 6);
        });
        compare("part of it selected");
        both([](Surface *, QLabel *label) {
            label->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
            label->setText(QStringLiteral("<b>rich</b> <i>text</i>"));
        });
        compare("rich text");
    }

    // Painted in part, the caption's kept look would not match what is under
    // the rest of it; QLabel paints that part, and a full paint after still
    // shows the whole caption as it is.
    void paintedInPartThenWhole()
    {
        QWidget window;
        window.resize(400, 200);
        auto *kept = new lookup::KeptCaption(QStringLiteral("Loading, Please Wait..."), &window);
        kept->setGeometry(10, 10, 380, 60);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QImage before = window.grab().toImage();
        kept->repaint(QRect(0, 0, 40, 20));
        QCOMPARE(window.grab().toImage(), before);
        kept->setText(QStringLiteral("Changed"));
        QLabel plain(QStringLiteral("Changed"), &window);
        plain.setGeometry(10, 100, 380, 60);
        plain.show();
        QCoreApplication::processEvents();
        const QImage shown = window.grab().toImage();
        QCOMPARE(shown.copy(QRect(10, 10, 380, 60)), shown.copy(QRect(10, 100, 380, 60)));
    }
};

QTEST_MAIN(KeptCaptionTest)
#include "tst_kept_caption.moc"
