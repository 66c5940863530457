#pragma once
// The ribbon from the keyboard, as desktop ribbons have it: F10, F6 or Alt
// pressed and released alone, anywhere in the ribbon's window, moves the
// focus to the ribbon's selected tab (and, from the ribbon, back to where it
// was). In the ribbon, Tab and the arrow keys move among the tabs and the
// shown buttons, Home and End to the first and last, Enter or Space presses,
// Escape goes back. The stop the keyboard is on carries a focus mark, and a
// screen reader hears each move as a change of focus.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

class TelvarRibbon;

namespace ribbon {

class RibbonElement;
class RibbonModel;
class RibbonParts;

// A tab (its index), or a shown category or button (its slot), under the name
// a screen reader gives it.
struct ShownPart {
    enum class Kind { Tab, Category, Button };
    Kind kind = Kind::Tab;
    int slot = 0;
    QString name;
    bool operator==(const ShownPart &) const = default;
};

// The tabs, then each shown category followed by its shown buttons, in the
// order a screen reader lists them; the keyboard stops at the tabs and buttons.
std::vector<ShownPart> shownParts(const RibbonParts &parts, const RibbonModel &model);
// The element over the part that takes the mouse; null when there is none.
RibbonElement *elementOf(const RibbonParts &parts, const ShownPart &part);

class RibbonKeyboard : public QObject {
    Q_OBJECT
public:
    explicit RibbonKeyboard(TelvarRibbon *ribbon);
    ~RibbonKeyboard() override;

    // The stop the keyboard is on while the ribbon has the focus.
    std::optional<ShownPart> current() const;
    // Takes the keyboard from wherever it is, to come back there later.
    void enter();
    // Gives the keyboard back to where it was taken from.
    void leave();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool handleRibbonKey(int key, Qt::KeyboardModifiers modifiers);
    bool handleWindowKey(QObject *watched, QEvent *event);
    void moveTo(int index);
    void press();
    void placeMark();

    TelvarRibbon *ribbon_;
    QWidget *mark_;
    QPointer<QWidget> returnTo_;
    int index_ = 0;
    // Alt went down with no other key or click since.
    bool altAlone_ = false;
};

} // namespace ribbon
