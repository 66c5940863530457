// Where the layout puts every piece. Expectations are worked out here from the
// ribbon's geometry rules and the sizes the caption labels and icons actually
// got, then compared with the elements, in twips and on screen.

#include "RibbonTestSupport.h"

#include "ribbon/RibbonModel.h"

#include <QPointer>

using ribbontest::pictures;
using ribbontest::shown;
using ribbontest::textWidthTwips;

namespace {

struct ExpectedButton {
    ExpectedButton(QString id, QString caption, bool more = false, QString toolTip = QString())
        : id(std::move(id)), caption(std::move(caption)), more(more), toolTip(std::move(toolTip))
    {
    }
    QString id;
    QString caption;
    bool more;
    QString toolTip;
};

struct ExpectedCategory {
    QString id;
    QString caption;
    bool launcher = false;
    QList<ExpectedButton> buttons;
};

QRect pixels(float left, float top, float width, float height)
{
    return QRect(qRound(left / 15), qRound(top / 15), qRound(width / 15), qRound(height / 15));
}

} // namespace

class RibbonGeometryTest : public QObject {
    Q_OBJECT

private slots:
    void frameRibbon()
    {
        TelvarRibbon ribbon;
        ribbontest::fillLikeFrame(ribbon);
        ribbon.resize(900, 116);
        ribbon.show();
        ribbon.Refresh();
        checkTabs(ribbon, {"Procedures"}, 0);
        checkCategories(ribbon, {{"1", "Procedures", false, {{"0", "Show Procedures"}}},
                                 {"2", "About", false, {{"2", "About"}}},
                                 {"3", "Exit", false, {{"3", "Exit", true}}}});
        checkStacking(ribbon);
        // The frame's first button: 45 + caption + 45 wide, from the first inner edge.
        const ribbon::RibbonParts &p = ribbon.parts();
        QCOMPARE(p.ButMouse(1)->Left(), 180.f);
        QCOMPARE(p.Button_Icon(1)->Top(), 510.f);
    }

    void craftedModel_data()
    {
        QTest::addColumn<bool>("buttonCenter");
        QTest::newRow("ButtonCenter false") << false;
        QTest::newRow("ButtonCenter true") << true;
    }

    void craftedModel()
    {
        QFETCH(bool, buttonCenter);
        TelvarRibbon ribbon;
        ribbon.SetTheme(1);
        platform::ImageList list = pictures(2, QSize(32, 32));
        list.add(pictures(1, QSize(64, 40)).picture(1)); // a wide, tall icon at 3
        ribbon.SetImageList(list);
        ribbon.SetButtonCenter(buttonCenter);
        ribbon.AddTab("home", "Home");
        ribbon.AddTab("ins", "Insert\r\nMore");
        ribbon.AddTab("view", "V");
        ribbon.AddCat("clip", "home", "Clipboard", true);
        ribbon.AddCat("none", "home", "Empty group with a long caption", false);
        ribbon.AddCat("tables", "ins", "Tables", false);
        ribbon.AddCat("font", "home", "F", true);
        ribbon.AddCat("dup", "home", "Twin A", false);
        ribbon.AddCat("dup", "home", "Twin B", true);
        ribbon.AddCat("orphan", "", "No tab", false);
        ribbon.AddButton("paste", "clip", "Paste", 1, true);
        ribbon.AddButton("table", "tables", "Table", 1);
        ribbon.AddButton("cut", "clip", "Cut\r\nAll", 2, false, "Cut it");
        ribbon.AddButton("lost", "nowhere", "Lost", 1);
        ribbon.AddButton("bold", "font", "B", 3, true);
        ribbon.AddButton("twin", "dup", "Twin button", 2);
        ribbon.AddButton("orphaned", "orphan", "Orphan", 1);
        ribbon.resize(1200, 116);
        ribbon.show();
        ribbon.Refresh();

        checkTabs(ribbon, {"Home", "Insert More", "V"}, 0);
        checkCategories(ribbon, {{"clip", "Clipboard", true, {{"paste", "Paste", true}, {"cut", "Cut\r\nAll", false, "Cut it"}}},
                                 {"none", "Empty group with a long caption", false, {}},
                                 {"font", "F", true, {{"bold", "B", true}}},
                                 {"dup", "Twin A", false, {{"twin", "Twin button"}}},
                                 {"dup", "Twin B", true, {{"twin", "Twin button"}}}});
        checkStacking(ribbon);

        // A two-line caption is two lines high.
        const ribbon::RibbonLabel *twoLines = ribbon.parts().Button_Caption(2);
        const QFontMetrics metrics(twoLines->font());
        QCOMPARE(twoLines->Height(), float((metrics.height() + metrics.lineSpacing()) * 15));
        QCOMPARE(twoLines->Width(), float(qMax(metrics.horizontalAdvance("Cut"), metrics.horizontalAdvance("All")) * 15));
    }

    void moreFlagRaisesTheCentredIconByAQuarterCaption()
    {
        TelvarRibbon ribbon;
        ribbon.SetTheme(0);
        ribbon.SetImageList(pictures(1));
        ribbon.SetButtonCenter(true);
        ribbon.AddTab("t", "T");
        ribbon.AddCat("c", "t", "C", false);
        ribbon.AddButton("plain", "c", "Same", 1, false);
        ribbon.AddButton("more", "c", "Same", 1, true);
        ribbon.Refresh();
        const ribbon::RibbonParts &p = ribbon.parts();
        QCOMPARE(p.Button_Icon(1)->Top() - p.Button_Icon(2)->Top(), p.Button_Caption(1)->Height() / 4);
    }

    void captionAsWideAsItsButtonsStaysAtTheInnerEdge_data()
    {
        QTest::addColumn<int>("extraIconPixels");
        QTest::addColumn<bool>("centred");
        QTest::newRow("buttons span the caption exactly") << 0 << false;
        QTest::newRow("buttons one pixel wider") << 1 << true;
    }

    void captionAsWideAsItsButtonsStaysAtTheInnerEdge()
    {
        QFETCH(int, extraIconPixels);
        QFETCH(bool, centred);
        TelvarRibbon ribbon;
        ribbon.SetTheme(2);
        const QString caption = "Measured caption";
        const int captionPixels = QFontMetrics(ribbon.parts().Cat_Caption.templ()->font()).horizontalAdvance(caption);
        // One button spans 3 + icon + 3 pixels when its caption is narrower than its icon.
        ribbon.SetImageList(pictures(1, QSize(captionPixels - 6 + extraIconPixels, 32)));
        ribbon.AddTab("t", "T");
        ribbon.AddCat("c", "t", caption, false);
        ribbon.AddButton("b", "c", "x", 1);
        ribbon.Refresh();
        const ribbon::RibbonParts &p = ribbon.parts();
        const float inner = p.Cat_Center_off(0)->Width();
        QCOMPARE(inner, float(captionPixels + extraIconPixels) * 15);
        QCOMPARE(p.Cat_Caption(0)->Left() != p.Cat_Center_off(0)->Left(), centred);
        checkCategories(ribbon, {{"c", caption, false, {{"b", "x"}}}});
    }

    void captionAsWideAsTheIconIsLaidOutByTheIcon()
    {
        TelvarRibbon ribbon;
        ribbon.SetTheme(0);
        const QString caption = "Exact";
        const int captionPixels =
            QFontMetrics(ribbon.parts().Button_Caption.templ()->font()).horizontalAdvance(caption);
        ribbon.SetImageList(pictures(1, QSize(captionPixels, 20)));
        ribbon.AddTab("t", "T");
        ribbon.AddCat("c", "t", "C", false);
        ribbon.AddButton("b", "c", caption, 1);
        ribbon.Refresh();
        const ribbon::RibbonParts &p = ribbon.parts();
        QCOMPARE(p.Button_Icon(1)->Left(), p.Button_center(1)->Left());
        QCOMPARE(p.Button_Caption(1)->Left(), p.Button_center(1)->Left());
        QCOMPARE(p.Button_center(1)->Width(), float(captionPixels * 15));
    }

    void noTabOrNoCategoryShowsNothing()
    {
        TelvarRibbon empty;
        empty.SetTheme(0);
        empty.Refresh();
        const ribbon::RibbonParts &p = empty.parts();
        QVERIFY(!shown(p.Tab_caption, 0));
        QVERIFY(!shown(p.Tab_center, 0));
        QVERIFY(!shown(p.TabMouse, 0));
        QVERIFY(!shown(p.CatMouse, 0));
        QVERIFY(!shown(p.Cat_Caption, 0));
        QCOMPARE(p.TabMouse.UBound(), 0);

        TelvarRibbon bare;
        bare.SetTheme(0);
        bare.SetImageList(pictures(1));
        bare.AddTab("t", "Alone");
        bare.AddCat("c", "other", "Elsewhere", true);
        bare.AddButton("b", "c", "B", 1);
        bare.Refresh();
        QVERIFY(shown(bare.parts().TabMouse, 0));
        QVERIFY(!shown(bare.parts().CatMouse, 0));
        QVERIFY(!shown(bare.parts().Cat_Dlg, 0));
        QVERIFY(!shown(bare.parts().ButMouse, 0));
        QCOMPARE(bare.parts().ButMouse.UBound(), 0);
    }

    void repeatedPassesGiveTheSameGeometry()
    {
        TelvarRibbon ribbon;
        ribbontest::fillLikeFrame(ribbon);
        ribbon.AddTab("2", "Second tab");
        ribbon.Refresh();
        const QRect tab1 = ribbon.parts().TabMouse(1)->geometry();
        const QRect button3 = ribbon.parts().ButMouse(3)->geometry();
        QPointer<const ribbon::RibbonLabel> firstOverlay = ribbon.parts().ButMouse(1);
        ribbon.Refresh();
        QCOMPARE(ribbon.parts().TabMouse(1)->geometry(), tab1);
        QCOMPARE(ribbon.parts().ButMouse(3)->geometry(), button3);
        QVERIFY(firstOverlay.isNull()); // rebuilt, not reused
        QCOMPARE(ribbon.parts().ButMouse.UBound(), 3);
        QCOMPARE(ribbon.parts().TabMouse.UBound(), 1);
        checkTabs(ribbon, {"Procedures", "Second tab"}, 0);
    }

    void buttonCenterWaitsForRefresh()
    {
        TelvarRibbon ribbon;
        ribbontest::fillLikeFrame(ribbon);
        ribbon.Refresh();
        const float before = ribbon.parts().Button_Icon(1)->Top();
        ribbon.SetButtonCenter(true);
        QCOMPARE(ribbon.parts().Button_Icon(1)->Top(), before);
        ribbon.Refresh();
        QVERIFY(ribbon.parts().Button_Icon(1)->Top() != before);
    }

private:
    // Tab i starts where tab i - 1 ends, 150 + caption + 150 wide.
    void checkTabs(const TelvarRibbon &ribbon, const QStringList &captions, int selected)
    {
        const ribbon::RibbonParts &p = ribbon.parts();
        QCOMPARE(p.TabMouse.UBound(), int(captions.size()) - 1);
        float start = 90;
        for (int i = 0; i < captions.size(); ++i) {
            const ribbon::RibbonLabel *caption = p.Tab_caption(i);
            QVERIFY(caption);
            QCOMPARE(caption->Caption(), captions[i]);
            const float c = caption->Width();
            QCOMPARE(c, textWidthTwips(*caption, captions[i]));
            QCOMPARE(p.Tab_left(i)->Left(), start);
            QCOMPARE(p.Tab_center(i)->Left(), start + 150);
            QCOMPARE(p.Tab_center(i)->Width(), c);
            QCOMPARE(p.Tab_right(i)->Left(), start + 150 + c);
            QCOMPARE(p.Tab_left_over(i)->Left(), start);
            QCOMPARE(p.Tab_center_over(i)->Left(), start + 150);
            QCOMPARE(p.Tab_center_over(i)->Width(), c);
            QCOMPARE(p.Tab_right_over(i)->Left(), start + 150 + c);
            QCOMPARE(caption->Left(), start + 150);
            QCOMPARE(caption->Top(), 60.f);
            QCOMPARE(p.TabMouse(i)->Left(), start);
            QCOMPARE(p.TabMouse(i)->Width(), 300 + c);
            QCOMPARE(p.TabMouse(i)->geometry(), pixels(start, 0, 300 + c, 360));
            QCOMPARE(p.Tab_right(i)->geometry(), pixels(start + 150 + c, 0, 150, 360));
            QVERIFY(p.TabMouse(i)->Visible());
            QVERIFY(caption->Visible());
            const bool isSelected = i == selected;
            QCOMPARE(p.Tab_center(i)->Visible(), isSelected);
            QCOMPARE(p.Tab_left(i)->Visible(), isSelected);
            QCOMPARE(p.Tab_right(i)->Visible(), isSelected);
            if (i > 0)
                QVERIFY(!p.Tab_center_over(i)->Visible());
            start += 300 + c;
        }
    }

    void checkCategories(const TelvarRibbon &ribbon, const QList<ExpectedCategory> &categories)
    {
        const ribbon::RibbonParts &p = ribbon.parts();
        const bool centred = ribbon.ButtonCenter();
        QCOMPARE(p.CatMouse.UBound(), qMax(0, int(categories.size()) - 1));
        float left = 120;
        int slot = 1;
        for (int j = 0; j < categories.size(); ++j) {
            const ExpectedCategory &category = categories[j];
            const ribbon::RibbonLabel *caption = p.Cat_Caption(j);
            QCOMPARE(caption->Caption(), category.caption);
            QCOMPARE(caption->Tag(), category.id);
            const float captionWidth = caption->Width();
            QCOMPARE(captionWidth, textWidthTwips(*caption, category.caption));
            const float innerLeft = left + 60;

            float x = innerLeft;
            float spanned = 0;
            for (const ExpectedButton &button : category.buttons) {
                const int b = slot++;
                spanned += checkButton(p, b, j, x, button, centred) + 30;
                x = p.ButMouse(b)->Left() + p.ButMouse(b)->Width() + 30;
            }
            const float buttonsWidth = spanned - 30; // -30 without buttons

            float inner = captionWidth + (category.launcher ? 225 : 0);
            float captionLeft = innerLeft;
            if (inner < buttonsWidth) {
                inner = buttonsWidth;
                captionLeft = (inner - captionWidth) / 2 + innerLeft;
            }
            QCOMPARE(p.Cat_Left_off(j)->Left(), left);
            QCOMPARE(p.Cat_Left_off(j)->Top(), 360.f);
            QCOMPARE(p.Cat_Center_off(j)->Left(), innerLeft);
            QCOMPARE(p.Cat_Center_off(j)->Width(), inner);
            QCOMPARE(p.Cat_Right_off(j)->Left(), innerLeft + inner);
            QCOMPARE(p.Cat_Center_on(j)->Left(), innerLeft);
            QCOMPARE(p.Cat_Center_on(j)->Width(), inner);
            QCOMPARE(p.Cat_Left_on(j)->Left(), left);
            QCOMPARE(p.Cat_Right_on(j)->Left(), innerLeft + inner);
            QCOMPARE(caption->Left(), captionLeft);
            QCOMPARE(caption->Top(), 1400.f);
            QCOMPARE(p.CatMouse(j)->Left(), left);
            QCOMPARE(p.CatMouse(j)->Width(), 60 + inner + 75);
            QCOMPARE(p.Cat_Right_off(j)->geometry(), pixels(innerLeft + inner, 360, 75, 1335));
            QCOMPARE(p.Cat_Dlg(j)->Left(), innerLeft + inner - 225 + 15);
            QCOMPARE(p.Cat_Dlg(j)->Top(), 1425.f);
            QCOMPARE(p.Cat_Dlg_over(j)->Left(), p.Cat_Dlg(j)->Left());
            QCOMPARE(p.Cat_Dlg_on(j)->Top(), 1425.f);
            QCOMPARE(p.Cat_Dlg(j)->Visible(), category.launcher);
            QVERIFY(!p.Cat_Dlg_on(j)->Visible());
            QVERIFY(!p.Cat_Dlg_over(j)->Visible());
            QVERIFY(p.Cat_Center_off(j)->Visible() && p.CatMouse(j)->Visible() && caption->Visible());
            QVERIFY(!p.Cat_Center_on(j)->Visible());
            left = innerLeft + inner + 75;
        }
        QCOMPARE(p.ButMouse.UBound(), slot - 1);
        QVERIFY(!shown(p.ButMouse, 0));
    }

    // Returns the button's width.
    float checkButton(const ribbon::RibbonParts &p, int b, int categorySlot, float x, const ExpectedButton &expected,
                      bool centred)
    {
        const ribbon::RibbonLabel *caption = p.Button_Caption(b);
        const ribbon::RibbonImage *icon = p.Button_Icon(b);
        [&] {
            QVERIFY(caption && icon);
            QCOMPARE(caption->Caption(), expected.caption);
            QCOMPARE(icon->Width(), float(icon->Picture().width() * 15));
            QCOMPARE(icon->Height(), float(icon->Picture().height() * 15));
        }();
        const float cw = caption->Width();
        const float ch = caption->Height();
        const float iw = icon->Width();
        const float ih = icon->Height();
        const float w = cw > iw ? cw : iw;
        const float innerLeft = x + 45;

        float iconTop = 420 + 90;
        if (centred) {
            const float free = 990 - (ih + ch);
            iconTop = expected.more ? 420 + (free - ch / 2) / 2 : 420 + free / 2;
        }
        const float captionLeft = cw > iw ? innerLeft : innerLeft + (iw - cw) / 2;
        const float iconLeft = cw > iw ? innerLeft + (cw - iw) / 2 : innerLeft;

        [&] {
            QCOMPARE(p.ButMouse(b)->Left(), x);
            QCOMPARE(p.ButMouse(b)->Top(), 420.f);
            QCOMPARE(p.ButMouse(b)->Width(), 45 + w + 45);
            QCOMPARE(p.ButMouse(b)->Tag(), expected.id);
            QCOMPARE(p.ButMouse(b)->ToolTipText(), expected.toolTip.isEmpty() ? QString(expected.caption).replace("\r\n", " ") : expected.toolTip);
            QCOMPARE(p.Button_center(b)->Tag(), QString::number(categorySlot));
            QCOMPARE(p.Button_left(b)->Left(), x);
            QCOMPARE(p.Button_center(b)->Left(), innerLeft);
            QCOMPARE(p.Button_center(b)->Width(), w);
            QCOMPARE(p.Button_right(b)->Left(), innerLeft + w);
            QCOMPARE(p.Button_left_over(b)->Left(), x);
            QCOMPARE(p.Button_center_over(b)->Left(), innerLeft);
            QCOMPARE(p.Button_center_over(b)->Width(), w);
            QCOMPARE(p.Button_right_over(b)->Left(), innerLeft + w);
            QCOMPARE(p.Button_right_over(b)->Top(), 420.f);
            QCOMPARE(icon->Top(), iconTop);
            QCOMPARE(icon->Left(), iconLeft);
            QCOMPARE(caption->Top(), iconTop + ih);
            QCOMPARE(caption->Left(), captionLeft);
            QCOMPARE(p.Glip_off(b)->Top(), iconTop + ih + ch + (ch - 60) / 2);
            QCOMPARE(p.Glip_off(b)->Left(), (cw - 75) / 2 + captionLeft);
            QCOMPARE(p.Glip_on(b)->Left(), p.Glip_off(b)->Left());
            QCOMPARE(p.Glip_off(b)->Visible(), expected.more);
            QVERIFY(!p.Glip_on(b)->Visible());
            QVERIFY(icon->Visible() && caption->Visible() && p.ButMouse(b)->Visible());
            QVERIFY(!p.Button_center(b)->Visible() && !p.Button_center_over(b)->Visible());
            QCOMPARE(p.ButMouse(b)->geometry(), pixels(x, 420, 90 + w, 990));
        }();
        return 90 + w;
    }

    // The overlays receive the mouse over their whole element, the launcher over
    // its category.
    void checkStacking(const TelvarRibbon &ribbon)
    {
        const ribbon::RibbonParts &p = ribbon.parts();
        for (int i = 0; i <= p.TabMouse.UBound(); ++i)
            QCOMPARE(ribbon.childAt(p.Tab_caption(i)->geometry().center()), p.TabMouse(i));
        for (int j = 0; j <= p.CatMouse.UBound() && shown(p.CatMouse, j); ++j) {
            const QRect caption = p.Cat_Caption(j)->geometry();
            QCOMPARE(ribbon.childAt(caption.topLeft() + QPoint(1, 1)), p.CatMouse(j));
            if (p.Cat_Dlg(j)->Visible())
                QCOMPARE(ribbon.childAt(p.Cat_Dlg(j)->geometry().center()), p.Cat_Dlg(j));
        }
        for (int b = 1; b <= p.ButMouse.UBound(); ++b) {
            QCOMPARE(ribbon.childAt(p.Button_Icon(b)->geometry().center()), p.ButMouse(b));
            QCOMPARE(ribbon.childAt(p.Button_Caption(b)->geometry().center()), p.ButMouse(b));
        }
        QCOMPARE(ribbon.childAt(QPoint(ribbon.width() - 30, 110)), p.Barra2);
    }

    ribbontest::OwnTemporaryFolder temporary_;
};

QTEST_MAIN(RibbonGeometryTest)
#include "tst_ribbon_geometry.moc"
