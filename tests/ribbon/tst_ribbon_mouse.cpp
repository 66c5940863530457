// The ribbon under the mouse: hover looks, press looks, tab selection and the
// three events, driven through the window system so that the element on top
// at each point is the one that gets the event.

#include "RibbonTestSupport.h"

#include "ribbon/RibbonModel.h"

#include <QPointer>
#include <QSignalSpy>
#include <QVBoxLayout>

using ribbontest::pictures;
using ribbontest::shown;

class RibbonMouseTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        window_ = new QWidget;
        auto *layout = new QVBoxLayout(window_);
        layout->setContentsMargins(0, 0, 0, 0);
        ribbon_ = new TelvarRibbon;
        below_ = new QWidget;
        below_->setMinimumHeight(100);
        layout->addWidget(ribbon_);
        layout->addWidget(below_);
        ribbon_->SetTheme(0);
        ribbon_->SetImageList(pictures(3));
        ribbon_->AddTab("home", "Home");
        ribbon_->AddTab("ins", "Insert\r\nMore");
        ribbon_->AddTab("view", "View");
        ribbon_->AddCat("clip", "home", "Clipboard", true);
        ribbon_->AddCat("font", "home", "Font", false);
        ribbon_->AddCat("tables", "ins", "Tables", true);
        ribbon_->AddButton("paste", "clip", "Paste", 1, true);
        ribbon_->AddButton("cut", "clip", "Cut", 2);
        ribbon_->AddButton("bold", "font", "Bold", 3, true);
        ribbon_->AddButton("table", "tables", "Table", 1);
        window_->resize(900, 260);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_));
        ribbon_->Refresh();
        // Every test starts with the pointer away from the ribbon.
        pointTo(below_, below_->rect().center());
    }

    void cleanup()
    {
        delete window_;
        window_ = nullptr;
    }

    void tabHoverMovesWithThePointerAndSkipsTheSelectedTab()
    {
        const ribbon::RibbonParts &p = parts();
        moveTo(p.Tab_caption(1));
        QVERIFY(tabHovered(1));
        QVERIFY(!tabHovered(2));
        moveTo(p.Tab_caption(2));
        QVERIFY(!tabHovered(1));
        QVERIFY(tabHovered(2));
        moveTo(p.Tab_caption(0)); // the selected tab
        for (int k = 0; k < 3; ++k)
            QVERIFY2(!tabHovered(k), qPrintable(QString::number(k)));
    }

    void categoryAndButtonHover()
    {
        const ribbon::RibbonParts &p = parts();
        moveTo(p.Button_Icon(1)); // "Paste" in "Clipboard", with the glyph
        QVERIFY(buttonHovered(1));
        QVERIFY(shown(p.Glip_on, 1));
        QVERIFY(categoryHovered(0));
        QVERIFY(shown(p.Cat_Dlg_on, 0));

        moveTo(p.Cat_Caption(0)); // the empty part of the same category
        QVERIFY(!buttonHovered(1));
        QVERIFY(!shown(p.Glip_on, 1));
        QVERIFY(shown(p.Glip_off, 1));
        QVERIFY(categoryHovered(0));

        moveTo(p.Button_Icon(2)); // "Cut", same category
        QVERIFY(buttonHovered(2));
        moveTo(p.Button_Icon(3)); // "Bold", in "Font"
        QVERIFY(!buttonHovered(2));
        QVERIFY(buttonHovered(3));
        QVERIFY(!categoryHovered(0));
        QVERIFY(!shown(p.Cat_Dlg_on, 0));
        QVERIFY(categoryHovered(1));
        QVERIFY(!shown(p.Cat_Dlg_on, 1)); // no launcher: its images stay hidden

        moveTo(p.Tab_caption(1));
        QVERIFY(!buttonHovered(3));
        QVERIFY(!categoryHovered(1));
        QVERIFY(tabHovered(1));
    }

    void leavingTheRibbonKeepsTheLookAndTheBandClearsIt()
    {
        const ribbon::RibbonParts &p = parts();
        moveTo(p.Button_Icon(3));
        pointTo(below_, below_->rect().center());
        QVERIFY(buttonHovered(3));
        QVERIFY(categoryHovered(1));

        moveTo(p.Tab_caption(2));
        pointTo(ribbon_, QPoint(ribbon_->width() - 20, 5)); // strip right of the tabs
        QVERIFY(!tabHovered(2));
        moveTo(p.Button_Icon(1));
        pointTo(ribbon_, QPoint(ribbon_->width() - 20, 100)); // body right of the categories
        QVERIFY(!buttonHovered(1));
        QVERIFY(!categoryHovered(0));
        QVERIFY(!shown(p.Cat_Dlg_on, 0));
    }

    void pressShowsThePressedLookUntilRelease()
    {
        const ribbon::RibbonParts &p = parts();
        QSignalSpy clicks(ribbon_, &TelvarRibbon::ButtonClick);
        moveTo(p.Button_Icon(2));
        QTest::mousePress(p.ButMouse(2), Qt::RightButton);
        QCOMPARE(pressedPieces(2), 3);
        QVERIFY(buttonHovered(2));
        QTest::mouseRelease(p.ButMouse(2), Qt::RightButton);
        QCOMPARE(pressedPieces(2), 0);
        QVERIFY(buttonHovered(2)); // the hover look stays
        QCOMPARE(clicks.count(), 0);

        int pressedDuringEvent = -1;
        connect(ribbon_, &TelvarRibbon::ButtonClick, this, [&] { pressedDuringEvent = pressedPieces(2); });
        QTest::mouseClick(p.ButMouse(2), Qt::LeftButton);
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks.at(0).at(0).toString(), QString("cut"));
        QCOMPARE(clicks.at(0).at(1).toString(), QString("Cut"));
        QCOMPARE(pressedDuringEvent, 0);
    }

    void doubleClickIsOneClick()
    {
        QSignalSpy clicks(ribbon_, &TelvarRibbon::ButtonClick);
        QSignalSpy tabClicks(ribbon_, &TelvarRibbon::TabClick);
        for (QWidget *overlay : {static_cast<QWidget *>(parts().ButMouse(3)), static_cast<QWidget *>(parts().TabMouse(2))}) {
            QTest::mouseClick(overlay, Qt::LeftButton);
            QTest::mouseDClick(overlay, Qt::LeftButton);
            QTest::mouseRelease(overlay, Qt::LeftButton);
        }
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(tabClicks.count(), 1);
    }

    void releaseOutsideTheButtonIsNoClick()
    {
        QSignalSpy clicks(ribbon_, &TelvarRibbon::ButtonClick);
        ribbon::RibbonLabel *overlay = parts().ButMouse(1);
        QTest::mousePress(overlay, Qt::LeftButton);
        QTest::mouseRelease(overlay, Qt::LeftButton, {}, QPoint(-5, -5));
        QCOMPARE(clicks.count(), 0);
        QCOMPARE(pressedPieces(1), 0);
    }

    void tabClickSelectsLaysOutAndRaises()
    {
        const ribbon::RibbonParts &p = parts();
        QSignalSpy tabClicks(ribbon_, &TelvarRibbon::TabClick);
        QString currentDuringEvent;
        int categoriesDuringEvent = -1;
        connect(ribbon_, &TelvarRibbon::TabClick, this, [&] {
            currentDuringEvent = ribbon_->model().CurrentTab();
            categoriesDuringEvent = parts().CatMouse.UBound() + (shown(parts().CatMouse, 0) ? 1 : 0);
        });
        moveTo(p.Tab_caption(1));
        QVERIFY(tabHovered(1));
        QTest::mouseClick(p.TabMouse(1), Qt::LeftButton);

        QVERIFY(!tabHovered(1));
        for (int k = 0; k < 3; ++k) {
            QCOMPARE(shown(p.Tab_center, k), k == 1);
            QCOMPARE(shown(p.Tab_left, k), k == 1);
            QCOMPARE(p.Tab_caption(k)->ForeColor(), k == 1 ? 0x000000u : 0xFFFFFFu);
        }
        QCOMPARE(ribbon_->model().CurrentTab(), QString("ins"));
        QCOMPARE(tabClicks.count(), 1);
        QCOMPARE(tabClicks.at(0).at(0).toString(), QString("ins"));
        QCOMPARE(tabClicks.at(0).at(1).toString(), QString("Insert More"));
        QCOMPARE(currentDuringEvent, QString("ins"));
        QCOMPARE(categoriesDuringEvent, 1);
        QCOMPARE(p.Cat_Caption(0)->Caption(), QString("Tables"));
        QCOMPARE(p.ButMouse.UBound(), 1); // buttons renumbered from 1
        QCOMPARE(p.ButMouse(1)->Tag(), QString("table"));

        QTest::mouseClick(p.TabMouse(1), Qt::LeftButton); // the selected tab again
        QCOMPARE(tabClicks.count(), 2);

        // A later Refresh keeps the clicked tab selected, matching the categories shown.
        ribbon_->Refresh();
        QVERIFY(shown(p.Tab_center, 1));
        QVERIFY(!shown(p.Tab_center, 0));
        QCOMPARE(p.Cat_Caption(0)->Caption(), QString("Tables"));
    }

    void launcherHoverAndClick()
    {
        const ribbon::RibbonParts &p = parts();
        QSignalSpy catClicks(ribbon_, &TelvarRibbon::CatClick);
        moveTo(p.Cat_Caption(0));
        QVERIFY(shown(p.Cat_Dlg_on, 0));
        QVERIFY(!shown(p.Cat_Dlg_over, 0));
        moveTo(p.Cat_Dlg(0)); // lands on the category's launcher look
        QVERIFY(shown(p.Cat_Dlg_over, 0));
        QVERIFY(categoryHovered(0));
        QCOMPARE(ribbon_->childAt(p.Cat_Dlg(0)->geometry().center()), p.Cat_Dlg_over(0));

        QTest::mouseClick(p.Cat_Dlg_over(0), Qt::LeftButton);
        QCOMPARE(catClicks.count(), 1);
        QCOMPARE(catClicks.at(0).at(0).toString(), QString("clip"));
        QCOMPARE(catClicks.at(0).at(1).toString(), QString("Clipboard"));

        QTest::mouseClick(p.CatMouse(0), Qt::LeftButton); // the frame itself raises nothing
        QCOMPARE(catClicks.count(), 1);

        moveTo(p.Cat_Caption(0));
        QVERIFY(!shown(p.Cat_Dlg_over, 0));
        QVERIFY(shown(p.Cat_Dlg_on, 0));
    }

    void hostMayDestroyItsWindowInsideAnEvent()
    {
        QPointer<QWidget> window = window_;
        connect(ribbon_, &TelvarRibbon::ButtonClick, window_, [&] { delete window_; });
        QTest::mouseClick(parts().ButMouse(1), Qt::LeftButton);
        QVERIFY(window.isNull());
        window_ = nullptr;
    }

    void hostMayDestroyItsWindowInsideTabClick()
    {
        connect(ribbon_, &TelvarRibbon::TabClick, window_, [&] { delete window_; });
        QTest::mouseClick(parts().TabMouse(2), Qt::LeftButton);
        window_ = nullptr;
    }

    void hostMayRebuildTheRibbonInsideAnEvent()
    {
        QSignalSpy clicks(ribbon_, &TelvarRibbon::ButtonClick);
        connect(ribbon_, &TelvarRibbon::ButtonClick, this, [&] { ribbon_->Refresh(); });
        ribbon::RibbonLabel *overlay = parts().ButMouse(2);
        QTest::mouseClick(overlay, Qt::LeftButton);
        QCOMPARE(clicks.count(), 1);
        QVERIFY(parts().ButMouse(2) != overlay);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        moveTo(parts().Button_Icon(2));
        QVERIFY(buttonHovered(2));
    }

    void ribbonDestroyedWhileItsLayoutLetsEventsRun()
    {
        QSignalSpy tabClicks(ribbon_, &TelvarRibbon::TabClick);
        QPointer<TelvarRibbon> ribbon = ribbon_;
        QMetaObject::invokeMethod(
            this, [this] { delete window_; window_ = nullptr; }, Qt::QueuedConnection);
        QTest::mouseClick(parts().TabMouse(1), Qt::LeftButton);
        QVERIFY(ribbon.isNull());
        QCOMPARE(tabClicks.count(), 0);
    }

    void tabClickArrivingWhileTheLayoutLetsEventsRun()
    {
        QSignalSpy tabClicks(ribbon_, &TelvarRibbon::TabClick);
        ribbon::RibbonLabel *third = parts().TabMouse(2);
        ribbon::RibbonLabel *second = parts().TabMouse(1);
        // The click on "View" waits in the queue; the pass for "Insert" lets it run.
        QMetaObject::invokeMethod(
            this, [third] { QTest::mouseClick(third, Qt::LeftButton); }, Qt::QueuedConnection);
        QTest::mouseClick(second, Qt::LeftButton);

        QCOMPARE(tabClicks.count(), 2);
        QCOMPARE(tabClicks.at(0).at(0).toString(), QString("view")); // the inner one finishes first
        QCOMPARE(tabClicks.at(1).at(0).toString(), QString("ins"));
        QCOMPARE(ribbon_->model().CurrentTab(), QString("view"));
        // "View" has no categories: nothing of the inner pass is left on view.
        QVERIFY(!shown(parts().CatMouse, 0));
        QCOMPARE(parts().ButMouse.UBound(), 0);
        QVERIFY(shown(parts().Tab_center, 2));
    }

private:
    const ribbon::RibbonParts &parts() const { return ribbon_->parts(); }

    // Moves the pointer to a point of a widget, as the window system reports it
    // to the window: whichever element lies on top there gets the move.
    void pointTo(const QWidget *widget, QPoint point)
    {
        QTest::mouseMove(window_->windowHandle(), widget->mapTo(window_, point));
    }
    // Moves the pointer over the centre of an element.
    void moveTo(const QWidget *element) { pointTo(ribbon_, element->geometry().center()); }

    bool tabHovered(int k) const
    {
        return shown(parts().Tab_center_over, k) && shown(parts().Tab_left_over, k) && shown(parts().Tab_right_over, k);
    }
    bool categoryHovered(int k) const
    {
        return shown(parts().Cat_Center_on, k) && shown(parts().Cat_Left_on, k) && shown(parts().Cat_Right_on, k);
    }
    bool buttonHovered(int k) const
    {
        return shown(parts().Button_center, k) && shown(parts().Button_left, k) && shown(parts().Button_right, k);
    }
    // How many of the three pressed-look pieces of button k are shown.
    int pressedPieces(int k) const
    {
        return int(shown(parts().Button_center_over, k)) + int(shown(parts().Button_left_over, k))
               + int(shown(parts().Button_right_over, k));
    }

    ribbontest::OwnTemporaryFolder temporary_;
    QWidget *window_ = nullptr;
    TelvarRibbon *ribbon_ = nullptr;
    QWidget *below_ = nullptr;
};

QTEST_MAIN(RibbonMouseTest)
#include "tst_ribbon_mouse.moc"
