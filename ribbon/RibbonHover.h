#pragma once
// Hover looks under the mouse. The look of every element lives only in the
// visibility of its pictures; index -1 clears the look of every element of the
// kind. Each clearing first tests visibility, so a stream of moves over one
// element leaves the others untouched.

namespace ribbon {

class RibbonParts;

void HoverTab(RibbonParts &parts, int index);
void HoverCategory(RibbonParts &parts, int index);
void HoverButton(RibbonParts &parts, int index);

// The three at once, as a move over the band or a tab does.
void HoverNothing(RibbonParts &parts);

} // namespace ribbon
