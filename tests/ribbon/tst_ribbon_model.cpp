// The ribbon's model as a host sees it: adding, capacities, caption rules,
// tool tips, theme numbers, stored properties and the height rule.

#include "RibbonTestSupport.h"

#include "platform/AppError.h"
#include "ribbon/RibbonModel.h"

#include <QPointer>
#include <QSignalSpy>

using ribbontest::pictures;

class RibbonModelTest : public QObject {
    Q_OBJECT

private slots:
    void firstTabBecomesCurrentAndStaysSo()
    {
        TelvarRibbon ribbon;
        QCOMPARE(ribbon.model().CurrentTab(), QString());
        ribbon.AddTab("t1", "One");
        ribbon.AddTab("t2", "Two");
        QCOMPARE(ribbon.model().TabCount(), qint16(2));
        QCOMPARE(ribbon.model().CurrentTab(), QString("t1"));
        QCOMPARE(ribbon.model().tab(1).id, QString("t2"));
    }

    void entriesAreStoredInOrderAsGiven()
    {
        TelvarRibbon ribbon;
        ribbon.SetImageList(pictures(3));
        ribbon.AddCat("c", "t", "Same", true);
        ribbon.AddCat("c", "t", "Other", false); // IDs are not checked for uniqueness
        ribbon.AddButton("b", "c", "Press", 2, true, "Hint");
        const ribbon::RibbonModel &model = ribbon.model();
        QCOMPARE(model.CatCount(), qint16(2));
        QCOMPARE(model.category(0).caption, QString("Same"));
        QCOMPARE(model.category(1).caption, QString("Other"));
        QCOMPARE(model.category(1).id, QString("c"));
        QVERIFY(model.category(0).dlgButton);
        QVERIFY(!model.category(1).dlgButton);
        const ribbon::ButtonEntry &button = model.button(0);
        QCOMPARE(button.id, QString("b"));
        QCOMPARE(button.category, QString("c"));
        QVERIFY(button.more);
        QCOMPARE(button.toolTip, QString("Hint"));
        QCOMPARE(button.picture.toImage(), pictures(3).picture(2).toImage());
    }

    void crLfRules()
    {
        TelvarRibbon ribbon;
        ribbon.SetImageList(pictures(1));
        ribbon.AddTab("t", "Two\r\nWords");
        ribbon.AddCat("c", "t", "A\r\nB\r\nC", false);
        ribbon.AddButton("b1", "c", "Line one\r\nLine two", 1);
        ribbon.AddButton("b2", "c", "Plain", 1, false, "Tip\r\nwith break");
        ribbon.AddButton("b3", "c", "Lone\nfeed", 1);
        const ribbon::RibbonModel &model = ribbon.model();
        QCOMPARE(model.tab(0).caption, QString("Two Words"));
        QCOMPARE(model.category(0).caption, QString("A B C"));
        QCOMPARE(model.button(0).caption, QString("Line one\r\nLine two"));
        QCOMPARE(model.button(0).toolTip, QString("Line one Line two"));
        QCOMPARE(model.button(1).toolTip, QString("Tip with break"));
        // Only the pair counts: a lone line feed is left as it is.
        QCOMPARE(model.button(2).toolTip, QString("Lone\nfeed"));
    }

    void toolTipDefaultsToCaption()
    {
        TelvarRibbon ribbon;
        ribbon.SetImageList(pictures(1));
        ribbon.AddButton("b1", "c", "Caption one", 1);
        ribbon.AddButton("b2", "c", "Caption two", 1, false, QString());
        ribbon.AddButton("b3", "c", "Caption three", 1, true, "");
        QCOMPARE(ribbon.model().button(0).toolTip, QString("Caption one"));
        QCOMPARE(ribbon.model().button(1).toolTip, QString("Caption two"));
        QCOMPARE(ribbon.model().button(2).toolTip, QString("Caption three"));
    }

    void capacitiesRefuseTheNextEntryAndStoreNothing()
    {
        TelvarRibbon ribbon;
        ribbon.SetImageList(pictures(1));
        for (int i = 0; i < TelvarRibbon::MaxTabs; ++i)
            ribbon.AddTab(QString::number(i), "T");
        for (int i = 0; i < TelvarRibbon::MaxCategories; ++i)
            ribbon.AddCat(QString::number(i), "0", "C", false);
        for (int i = 0; i < TelvarRibbon::MaxButtons; ++i)
            ribbon.AddButton(QString::number(i), "0", "B", 1);

        expectError([&] { ribbon.AddTab("extra", "T"); }, TelvarRibbon::ErrSubscriptOutOfRange);
        expectError([&] { ribbon.AddCat("extra", "0", "C", true); }, TelvarRibbon::ErrSubscriptOutOfRange);
        expectError([&] { ribbon.AddButton("extra", "0", "B", 1); }, TelvarRibbon::ErrSubscriptOutOfRange);
        QCOMPARE(ribbon.model().TabCount(), qint16(31));
        QCOMPARE(ribbon.model().CatCount(), qint16(31));
        QCOMPARE(ribbon.model().ButCount(), qint16(91));
        QCOMPARE(ribbon.model().tab(30).id, QString("30"));
        QCOMPARE(ribbon.model().button(90).id, QString("90"));

        // Full tables still lay out: every pass stays inside them.
        ribbon.SetTheme(0);
        ribbon.Refresh();
        QCOMPARE(ribbon.parts().TabMouse.UBound(), 30);
        QCOMPARE(ribbon.parts().CatMouse.UBound(), 30);
        QCOMPARE(ribbon.parts().ButMouse.UBound(), 91);
    }

    void buttonNeedsTheImageListAndAPictureItHolds()
    {
        TelvarRibbon ribbon;
        expectError([&] { ribbon.AddButton("b", "c", "B", 1); }, TelvarRibbon::ErrObjectNotSet);
        QCOMPARE(ribbon.model().ButCount(), qint16(0));

        ribbon.SetImageList(pictures(2));
        expectError([&] { ribbon.AddButton("b", "c", "B", 3); }, platform::ImageList::ErrNoSuchImage);
        expectError([&] { ribbon.AddButton("b", "c", "B", 0); }, platform::ImageList::ErrNoSuchImage);
        QCOMPARE(ribbon.model().ButCount(), qint16(0));
        ribbon.AddButton("b", "c", "B", 2);
        QCOMPARE(ribbon.model().ButCount(), qint16(1));
    }

    void pictureIsTakenWhenTheButtonIsAdded()
    {
        TelvarRibbon ribbon;
        ribbon.SetImageList(pictures(1, QSize(16, 16)));
        ribbon.AddButton("b1", "c", "B", 1);
        ribbon.SetImageList(pictures(1, QSize(24, 24)));
        ribbon.AddButton("b2", "c", "B", 1);
        QCOMPARE(ribbon.model().button(0).picture.size(), QSize(16, 16));
        QCOMPARE(ribbon.model().button(1).picture.size(), QSize(24, 24));
    }

    void themeNumbersOutsideTheSetBecomeZero_data()
    {
        QTest::addColumn<int>("written");
        QTest::addColumn<int>("read");
        QTest::newRow("0") << 0 << 0;
        QTest::newRow("1") << 1 << 1;
        QTest::newRow("2") << 2 << 2;
        QTest::newRow("3") << 3 << 0;
        QTest::newRow("5") << 5 << 0;
        QTest::newRow("-1") << -1 << 0;
        QTest::newRow("70000") << 70000 << 0;
    }

    void themeNumbersOutsideTheSetBecomeZero()
    {
        QFETCH(int, written);
        QFETCH(int, read);
        TelvarRibbon ribbon;
        QSignalSpy changed(&ribbon, &TelvarRibbon::PropertyChanged);
        ribbon.SetTheme(written);
        QCOMPARE(int(ribbon.Theme()), read);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toString(), QString("Theme"));
    }

    void hostMayDestroyTheRibbonWhenToldOfAChange()
    {
        auto *ribbon = new TelvarRibbon;
        QPointer<TelvarRibbon> alive(ribbon);
        connect(ribbon, &TelvarRibbon::PropertyChanged, this, [ribbon] { delete ribbon; });
        ribbon->SetTheme(1);
        QVERIFY(alive.isNull());
    }

    void storedPropertiesRoundTrip()
    {
        TelvarRibbon fresh;
        QCOMPARE(fresh.Theme(), qint16(0));
        QVERIFY(!fresh.ButtonCenter());
        QCOMPARE(fresh.BackColor(), 0x464646u);
        QCOMPARE(fresh.ForeColor(), 0xFFFFFFu);
        QVERIFY(fresh.WriteProperties().isEmpty()); // defaults are not written

        TelvarRibbon ribbon;
        QSignalSpy changed(&ribbon, &TelvarRibbon::PropertyChanged);
        ribbon.SetButtonCenter(true);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toString(), QString("ButtonCenter"));
        ribbon.SetTheme(1);
        const QVariantMap stored = ribbon.WriteProperties();
        QCOMPARE(stored.value("Theme").toInt(), 1);
        QCOMPARE(stored.value("ButtonCenter").toBool(), true);
        QCOMPARE(stored.value("BackColor").toUInt(), 0xDAB08Eu);
        QCOMPARE(stored.value("ForeColor").toUInt(), 0x8B4215u);

        // Reading back restores the two numbers only and loads no picture.
        TelvarRibbon restored;
        restored.ReadProperties(stored);
        QCOMPARE(restored.Theme(), qint16(1));
        QVERIFY(restored.ButtonCenter());
        QCOMPARE(restored.BackColor(), 0x464646u);
        QVERIFY(restored.parts().Barra2->Picture().isNull());

        // A stored number is not validated; only writing Theme clamps.
        TelvarRibbon odd;
        odd.ReadProperties({{"Theme", 7}});
        QCOMPARE(odd.Theme(), qint16(7));
        QVERIFY(!odd.ButtonCenter());
    }

    void heightFollowsTheBandWhateverTheHostAsks()
    {
        QWidget host;
        auto *ribbon = new TelvarRibbon(&host);
        QCOMPARE(ribbon->height(), (2130 - 390) / 15);
        ribbon->resize(400, 300);
        QCOMPARE(ribbon->height(), 116);
        QCOMPARE(ribbon->width(), 400);
        ribbon->resize(500, 20);
        QCOMPARE(ribbon->height(), 116);
        ribbon->Resize();
        QCOMPARE(ribbon->height(), 116);
        QCOMPARE(ribbon->parts().Barra2->Top(), -390.f);
    }

private:
    template <class Action>
    void expectError(Action action, int number)
    {
        try {
            action();
            QFAIL("no error raised");
        } catch (const platform::AppError &error) {
            QCOMPARE(error.number(), number);
            QVERIFY(!error.description().isEmpty());
        }
    }

    ribbontest::OwnTemporaryFolder temporary_;
};

QTEST_MAIN(RibbonModelTest)
#include "tst_ribbon_model.moc"
