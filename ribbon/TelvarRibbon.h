#pragma once
// TelvarRibbon: an office-style ribbon bar that a host window fills with tabs,
// categories and buttons and that raises an event when one of them is clicked.
//
// Typical host code:
//     ribbon->SetTheme(0);                     // loads the theme's images and colours
//     setBackground(ribbon->LoadBackground(), ribbon::colorFromValue(ribbon->BackColor()));
//     ribbon->SetImageList(images);            // before the first AddButton
//     ribbon->SetButtonCenter(false);
//     ribbon->AddTab("1", "Procedures");
//     ribbon->AddCat("1", "1", "Procedures", false);
//     ribbon->AddButton("0", "1", "Show Procedures", 1);
//     ribbon->Refresh();
//     connect(ribbon, &TelvarRibbon::ButtonClick, this, &Host::onButton);
//
// The host may close or delete its window inside any of the three events; the
// ribbon touches nothing of itself after raising one.

#include "platform/AccessibleHiding.h"
#include "platform/ImageList.h"
#include "ribbon/ColorValue.h"
#include "ribbon/RibbonModel.h"

#include <QPixmap>
#include <QString>
#include <QVariantMap>
#include <QWidget>

#include <memory>
#include <optional>

namespace ribbon {
class RibbonKeyboard;
class RibbonParts;
class RibbonTheme;
struct ShownPart;
} // namespace ribbon

class TelvarRibbon : public QWidget {
    Q_OBJECT
    // Screen readers see tabs, groups and buttons (ribbon/RibbonAccessibility).
    Q_CLASSINFO(OWN_ACCESSIBLE_INTERFACE, "yes")

public:
    static constexpr int MaxTabs = ribbon::RibbonModel::MaxTabs;             // 31
    static constexpr int MaxCategories = ribbon::RibbonModel::MaxCategories; // 31
    static constexpr int MaxButtons = ribbon::RibbonModel::MaxButtons;       // 91

    // Error numbers raised to the host by the adding operations.
    static constexpr int ErrSubscriptOutOfRange = ribbon::RibbonModel::ErrSubscriptOutOfRange; // 9, beyond capacity
    static constexpr int ErrObjectNotSet = ribbon::RibbonModel::ErrObjectNotSet; // 91, AddButton before SetImageList

    explicit TelvarRibbon(QWidget *parent = nullptr);
    ~TelvarRibbon() override;

    // Lays the whole control out again: height rule, tab strip, categories and
    // buttons. The tab shown as selected is the current one (the first tab until
    // the user clicks another), and the categories shown are that tab's.
    void Refresh();
    // Re-applies the height rule: the control is always as tall as the visible
    // part of its band, 1740 twips (116 pixels); the width is the host's.
    void Resize();

    // Appending to the model; each throws platform::AppError (ErrSubscriptOutOfRange)
    // beyond capacity and then stores nothing. Captions of tabs and categories have
    // each CR LF replaced by one space; button captions keep CR LF as a line break.
    void AddTab(const QString &zID, const QString &zCaption);
    void AddCat(const QString &zID, const QString &zTab, const QString &zCaption, bool zDlgButton);
    // Takes picture zPicture (1-based) from the image list now; throws AppError
    // ErrObjectNotSet without an image list and the list's own error for a position
    // it does not hold. An empty tool tip means "the caption".
    void AddButton(const QString &zID, const QString &zSubCat, const QString &zCaption, qint16 zPicture,
                   bool zMore = false, const QString &zToolTip = QString());

    // 0 "BLACK", 1 "BLUE", 2 "SILVER"; any other value becomes 0. Writing loads the
    // theme's pictures and colours at once and throws AppError when a picture
    // cannot be loaded (the colours are then already in place).
    qint16 Theme() const;
    void SetTheme(int New_Theme);

    bool ButtonCenter() const;
    void SetButtonCenter(bool New_BC); // takes effect at the next Refresh

    // The current theme's background picture for the host's windows (freshly
    // loaded on every call; throws AppError like SetTheme).
    QPixmap LoadBackground() const;

    // The ribbon keeps its own copy of the list's pictures (implicitly shared, so
    // cheap); buttons take their picture when they are added.
    void SetImageList(const platform::ImageList &zImageList);

    // Colour values 0x00BBGGRR (high bit: a system colour); see ribbon/ColorValue.h.
    quint32 BackColor() const;
    quint32 ForeColor() const;

    // Stored properties "Theme", "ButtonCenter", "BackColor", "ForeColor".
    // Reading restores Theme and ButtonCenter only and loads no picture; writing
    // gives the entries that differ from their defaults.
    void ReadProperties(const QVariantMap &stored);
    QVariantMap WriteProperties() const;

    // The tab or button the keyboard is on while the ribbon has the focus
    // (ribbon/RibbonKeyboard.h).
    std::optional<ribbon::ShownPart> keyboardStop() const;

    // Read-only views for inspection (tests, tools).
    const ribbon::RibbonModel &model() const;
    const ribbon::RibbonParts &parts() const;

signals:
    // A tab was clicked; it is already selected and its categories laid out.
    void TabClick(const QString &ID, const QString &Caption);
    // A category's dialog launcher was clicked: the category's ID and caption.
    void CatClick(const QString &ID, const QString &Caption);
    // A button was clicked (left mouse button): its ID and caption as shown.
    void ButtonClick(const QString &ID, const QString &Caption);
    // A stored property changed ("Theme" or "ButtonCenter"), so the host may save it.
    void PropertyChanged(const QString &name);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void UserControl_Resize();
    void applySurfaceColor();
    void wireMouse();
    void onTabMove(int index);
    void onCategoryMove(int index);
    void onButtonMove(int index);
    void onButtonPress(int index, bool pressed);
    void SelectTab(int index);
    void raiseCatClick(int index);
    void raiseButtonClick(int index);

    std::unique_ptr<ribbon::RibbonModel> model_;
    std::unique_ptr<ribbon::RibbonParts> parts_;
    std::unique_ptr<ribbon::RibbonTheme> theme_;
    ribbon::RibbonKeyboard *keyboard_ = nullptr;
};
