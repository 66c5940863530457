#pragma once
// What the frame window puts on its ribbon: one tab with a group each for
// Procedures, About and Exit, one button in each. The button IDs are the
// command numbers frmMainForm carries out on a click; the picture numbers
// index the image list, which must be set first. The ribbon's host, its
// geometry tests and its benchmark fill their ribbons with this too, so they
// show what the program shows.

class TelvarRibbon;

namespace app {

void addFrameRibbonContent(TelvarRibbon &ribbon);

} // namespace app
