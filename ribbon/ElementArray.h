#pragma once
// An indexed array of like elements on one surface. Element 0 is the template:
// it exists from the start and is never destroyed. Element i (i >= 1) is made at
// run time as a copy of element 0 as it is at that moment, and starts hidden.
//
// A destroyed element leaves the array at once. An element whose own mouse
// handler is running (the layout may be rebuilt from inside it) is hidden and
// deleted at the next turn of the event loop; any other is deleted at once.

#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

namespace ribbon {

template <class Element>
class ElementArray {
public:
    // Called for every element, the template included, right after it exists.
    using Hook = std::function<void(int index, Element *element)>;

    explicit ElementArray(QWidget *surface) : surface_(surface), elements_{new Element(surface)} {}

    ElementArray(const ElementArray &) = delete;
    ElementArray &operator=(const ElementArray &) = delete;

    // The element at index, or nullptr when it does not exist.
    Element *operator()(int index) const
    {
        if (index < 0 || std::size_t(index) >= elements_.size())
            return nullptr;
        return elements_[std::size_t(index)].data();
    }
    Element *templ() const { return elements_.front().data(); }

    // Creates element index as a copy of the template; an element that already
    // exists is returned as it is.
    Element *Load(int index)
    {
        if (index <= 0)
            return (*this)(index);
        if (Element *existing = (*this)(index))
            return existing;
        if (std::size_t(index) >= elements_.size())
            elements_.resize(std::size_t(index) + 1);
        auto *element = new Element(surface_);
        element->copyFrom(*templ());
        element->hide();
        elements_[std::size_t(index)] = element;
        if (onLoad_)
            onLoad_(index, element);
        return element;
    }

    // Destroys element index; the template and missing elements are left alone.
    void Unload(int index)
    {
        Element *element = (*this)(index);
        if (index <= 0 || !element)
            return;
        elements_[std::size_t(index)].clear();
        if (element->handlingMouse()) {
            element->hide();
            element->deleteLater();
        } else {
            delete element;
        }
        while (elements_.size() > 1 && elements_.back().isNull())
            elements_.pop_back();
    }

    // The highest index that exists (0 when only the template does).
    int UBound() const
    {
        for (std::size_t i = elements_.size(); i-- > 1;)
            if (!elements_[i].isNull())
                return int(i);
        return 0;
    }

    void setOnLoad(Hook hook)
    {
        onLoad_ = std::move(hook);
        if (onLoad_)
            onLoad_(0, templ());
    }

private:
    QWidget *surface_;
    std::vector<QPointer<Element>> elements_;
    Hook onLoad_;
};

} // namespace ribbon
