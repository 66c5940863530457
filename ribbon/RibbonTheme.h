#pragma once
// The three themes: which embedded image set each uses and its colours.
// Applying a theme sets the colours and gives element 0 of every array (and the
// band) its picture; further elements take them when the layout copies element 0.

#include <QPixmap>
#include <QString>
#include <QtGlobal>

namespace ribbon {

class RibbonParts;

struct ThemeColors {
    quint32 catCaption;
    quint32 tabCaption;
    quint32 selectedTabCaption;
    quint32 buttonCaption;
    quint32 back;
    quint32 fore;
};

class RibbonTheme {
public:
    static constexpr int ThemeCount = 3;

    // "BLACK", "BLUE", "SILVER" for 0, 1, 2; empty text for any other number.
    static QString resourceType(int theme);
    // The colours of theme 0, 1 or 2 (any other number gives theme 0's).
    static const ThemeColors &colorsOf(int theme);

    // Applying a theme is the colours, then the 26 pictures in a fixed order;
    // the first picture that fails to load throws its AppError, the colours
    // already set and the pictures loaded so far kept.
    void ApplyColors(int theme, RibbonParts &parts);
    static void ApplyPictures(int theme, RibbonParts &parts);
    // Image 141 of the theme; a number outside 0..2 names no image set.
    static QPixmap LoadBackground(int theme);

    // The colours applied last; theme 0's before any.
    const ThemeColors &colors() const { return *colors_; }

private:
    const ThemeColors *colors_ = &colorsOf(0);
};

} // namespace ribbon
