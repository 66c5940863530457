#include "ribbon/RibbonAccessibility.h"

#include "ribbon/RibbonKeyboard.h"
#include "ribbon/RibbonParts.h"
#include "ribbon/TabStripLayout.h"
#include "ribbon/TelvarRibbon.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>

#include <memory>
#include <optional>
#include <vector>

namespace ribbon {

namespace {

// One thing of the ribbon as a user thinks of it: a tab, a category, a
// button, or (without a part) the strip of tabs. It is no widget, so Qt's
// cache owns it under an id; the ribbon's own interface creates and deletes
// the nodes.
class RibbonNode : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    RibbonNode(TelvarRibbon *ribbon, std::optional<ShownPart> part) : ribbon_(ribbon), part_(std::move(part)) {}

    void setParent(QAccessibleInterface *parent) { parent_ = parent; }
    void addChild(RibbonNode *child)
    {
        child->setParent(this);
        children_.push_back(child);
    }

    bool isValid() const override { return !ribbon_.isNull(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override
    {
        return ribbon_ ? ribbon_->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QAccessibleInterface *parent() const override { return parent_; }
    QAccessibleInterface *child(int index) const override
    {
        return index >= 0 && index < int(children_.size()) ? children_[std::size_t(index)] : nullptr;
    }
    int childCount() const override { return int(children_.size()); }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (std::size_t i = 0; i < children_.size(); ++i)
            if (children_[i] == child)
                return int(i);
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        for (RibbonNode *child : children_)
            if (child->rect().contains(x, y))
                return child;
        return nullptr;
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return part_ ? part_->name : QStringLiteral("Tabs");
        if (t == QAccessible::Description && is(ShownPart::Kind::Button))
            return element() ? element()->ToolTipText() : QString();
        return QString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        const RibbonElement *e = element();
        if (!e)
            return QRect();
        if (!part_) {
            QRect all;
            for (RibbonNode *child : children_)
                all = all.united(child->rect());
            return all;
        }
        return QRect(e->mapToGlobal(QPoint(0, 0)), e->size());
    }
    QAccessible::Role role() const override
    {
        if (!part_)
            return QAccessible::PageTabList;
        switch (part_->kind) {
        case ShownPart::Kind::Tab:
            return QAccessible::PageTab;
        case ShownPart::Kind::Category:
            return QAccessible::Grouping;
        case ShownPart::Kind::Button:
            break;
        }
        return QAccessible::Button;
    }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        const RibbonElement *e = element();
        if (!ribbon_ || !ribbon_->isVisible() || (e && !e->Visible())) {
            s.invisible = true;
            s.offscreen = true;
        }
        if (is(ShownPart::Kind::Tab)) {
            s.selectable = true;
            s.selected = ribbon_ && selectedTabIndex(ribbon_->model()) == part_->slot;
        }
        if (pressable()) {
            s.disabled = ribbon_ && !ribbon_->isEnabled();
            s.focusable = true;
            s.focused = isKeyboardStop();
        }
        return s;
    }
    // Whether the keyboard is on this tab or button.
    bool isKeyboardStop() const
    {
        if (!ribbon_ || !pressable())
            return false;
        const std::optional<ShownPart> stop = ribbon_->keyboardStop();
        return stop && *stop == *part_;
    }
    const std::vector<RibbonNode *> &children() const { return children_; }
    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ActionInterface && pressable())
            return static_cast<QAccessibleActionInterface *>(this);
        return nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &actionName) override
    {
        if (actionName != pressAction() || !ribbon_)
            return;
        // The host may open windows or end the program on a click; it runs
        // from the event loop, as a mouse click does, not inside the call
        // from assistive technology.
        const QPointer<RibbonElement> target = overlay();
        QMetaObject::invokeMethod(
            ribbon_,
            [target] {
                if (target)
                    emit target->Click();
            },
            Qt::QueuedConnection);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    bool is(ShownPart::Kind kind) const { return part_ && part_->kind == kind; }
    bool pressable() const { return is(ShownPart::Kind::Tab) || is(ShownPart::Kind::Button); }
    // The element whose place on screen stands for this node.
    RibbonElement *element() const
    {
        if (!ribbon_)
            return nullptr;
        return part_ ? elementOf(ribbon_->parts(), *part_) : ribbon_->parts().TabMouse(0);
    }
    // The element the mouse clicks for this node.
    RibbonElement *overlay() const { return part_ ? element() : nullptr; }

    QPointer<TelvarRibbon> ribbon_;
    std::optional<ShownPart> part_;
    QAccessibleInterface *parent_ = nullptr;
    std::vector<RibbonNode *> children_;
};

// The ribbon itself: a tool bar whose children are the nodes above, built
// afresh whenever what the ribbon shows has changed.
class RibbonAccessible : public QAccessibleWidget {
public:
    explicit RibbonAccessible(TelvarRibbon *ribbon) : QAccessibleWidget(ribbon, QAccessible::ToolBar) {}
    ~RibbonAccessible() override { dropNodes(); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return QStringLiteral("Ribbon");
        return QAccessibleWidget::text(t);
    }
    int childCount() const override
    {
        sync();
        return int(top_.size());
    }
    QAccessibleInterface *child(int index) const override
    {
        sync();
        return index >= 0 && index < int(top_.size()) ? top_[std::size_t(index)] : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        sync();
        for (std::size_t i = 0; i < top_.size(); ++i)
            if (top_[i] == child)
                return int(i);
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        sync();
        for (RibbonNode *node : top_)
            if (node->rect().contains(x, y))
                return node;
        return nullptr;
    }
    QAccessibleInterface *focusChild() const override { return keyboardNode(); }

    // The tab or button the keyboard is on, if any.
    RibbonNode *keyboardNode() const
    {
        sync();
        for (RibbonNode *node : top_) {
            if (node->isKeyboardStop())
                return node;
            for (RibbonNode *child : node->children())
                if (child->isKeyboardStop())
                    return child;
        }
        return nullptr;
    }

private:
    TelvarRibbon *ribbon() const { return static_cast<TelvarRibbon *>(widget()); }

    // Built again whenever what is shown has changed.
    void sync() const
    {
        std::vector<ShownPart> parts = shownParts(ribbon()->parts(), ribbon()->model());
        if (built_ && parts == builtFrom_)
            return;
        dropNodes();
        build(parts);
        builtFrom_ = std::move(parts);
        built_ = true;
    }

    void build(const std::vector<ShownPart> &parts) const
    {
        TelvarRibbon *r = ribbon();
        auto *tabs = keep(new RibbonNode(r, std::nullopt));
        top_.push_back(tabs);
        RibbonNode *category = nullptr;
        for (const ShownPart &part : parts) {
            RibbonNode *node = keep(new RibbonNode(r, part));
            if (part.kind == ShownPart::Kind::Tab) {
                tabs->addChild(node);
            } else if (part.kind == ShownPart::Kind::Category) {
                category = node;
                top_.push_back(node);
            } else if (category) { // a button comes right after its category
                category->addChild(node);
            }
        }
        for (RibbonNode *node : top_)
            node->setParent(const_cast<RibbonAccessible *>(this));
    }

    RibbonNode *keep(RibbonNode *node) const
    {
        ids_.push_back(QAccessible::registerAccessibleInterface(node));
        return node;
    }

    void dropNodes() const
    {
        top_.clear();
        for (QAccessible::Id id : ids_)
            QAccessible::deleteAccessibleInterface(id);
        ids_.clear();
        built_ = false;
    }

    mutable std::vector<RibbonNode *> top_;
    mutable std::vector<QAccessible::Id> ids_;
    mutable std::vector<ShownPart> builtFrom_;
    mutable bool built_ = false;
};

QAccessibleInterface *ribbonFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String(TelvarRibbon::staticMetaObject.className()))
        if (auto *r = qobject_cast<TelvarRibbon *>(object))
            return new RibbonAccessible(r);
    return nullptr;
}

} // namespace

void announceKeyboardStop(TelvarRibbon *ribbon)
{
    if (!QAccessible::isActive())
        return;
    auto *accessible = dynamic_cast<RibbonAccessible *>(QAccessible::queryAccessibleInterface(ribbon));
    if (RibbonNode *node = accessible ? accessible->keyboardNode() : nullptr) {
        QAccessibleEvent focus(node, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}

void installRibbonAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(ribbonFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace ribbon
