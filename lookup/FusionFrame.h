#pragma once
// Frames as the Fusion look draws them: a one-pixel outline. Fusion strokes it
// with a pen that is not cosmetic, which the raster engine fills as a path of
// two rectangles: about 470,000 instructions for the result list's size, and
// as much again for the panel of alternatives and its list. The result list
// repaints at every reading of a procedure's details, the panel at every
// procedure with several ICD-9 codes. Four one-pixel fills give the same pixels.

class QFrame;

namespace lookup {

// From now on the frame's outline is painted by four fills whenever Fusion
// would draw it as a plain outline; every other frame is left to Qt.
void paintFrameByFills(QFrame &frame);

} // namespace lookup
