#pragma once
// What the host has put into the ribbon: tabs, categories and buttons in the
// order of adding, in fixed capacities, plus the settings the layout reads.

#include "platform/ImageList.h"

#include <QPixmap>
#include <QString>

#include <array>
#include <optional>

namespace ribbon {

// Texts shown on one line: every CR LF pair becomes one space.
QString singleLine(const QString &text);

struct TabEntry {
    QString id;
    QString caption;
};

struct CategoryEntry {
    QString id;
    QString tab;
    QString caption;
    bool dlgButton = false;
};

struct ButtonEntry {
    QString id;
    QString category;
    QString caption; // as given: CR LF splits it into two lines
    QString toolTip;
    QPixmap picture;
    bool more = false;
};

class RibbonModel {
public:
    static constexpr int MaxTabs = 31;
    static constexpr int MaxCategories = 31;
    static constexpr int MaxButtons = 91;

    static constexpr int ErrSubscriptOutOfRange = 9; // adding beyond capacity
    static constexpr int ErrObjectNotSet = 91;       // a button before the image list

    void AddTab(const QString &zID, const QString &zCaption);
    void AddCat(const QString &zID, const QString &zTab, const QString &zCaption, bool zDlgButton);
    void AddButton(const QString &zID, const QString &zSubCat, const QString &zCaption, qint16 zPicture,
                   bool zMore, const QString &zToolTip);

    qint16 TabCount() const { return tabCount_; }
    qint16 CatCount() const { return catCount_; }
    qint16 ButCount() const { return butCount_; }
    const TabEntry &tab(int i) const { return tabs_.at(std::size_t(i)); }
    const CategoryEntry &category(int i) const { return categories_.at(std::size_t(i)); }
    const ButtonEntry &button(int i) const { return buttons_.at(std::size_t(i)); }

    const QString &CurrentTab() const { return currentTab_; }
    void setCurrentTab(const QString &id) { currentTab_ = id; }

    bool ButtonCenterFlag() const { return buttonCenter_; }
    void setButtonCenterFlag(bool on) { buttonCenter_ = on; }

    // Kept as stored (a restored value is not validated); the theme setter clamps.
    qint16 StoredTheme() const { return storedTheme_; }
    void setStoredTheme(qint16 theme) { storedTheme_ = theme; }

    void setImageList(const platform::ImageList &list) { imageList_ = list; }

private:
    qint16 tabCount_ = 0;
    qint16 catCount_ = 0;
    qint16 butCount_ = 0;
    std::array<TabEntry, MaxTabs> tabs_;
    std::array<CategoryEntry, MaxCategories> categories_;
    std::array<ButtonEntry, MaxButtons> buttons_;
    QString currentTab_;
    bool buttonCenter_ = false;
    qint16 storedTheme_ = 0;
    std::optional<platform::ImageList> imageList_;
};

} // namespace ribbon
