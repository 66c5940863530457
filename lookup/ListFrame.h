#pragma once
// The result list's frame, as the Fusion look draws it: a one-pixel outline.
// Fusion strokes it with a pen that is not cosmetic, which the raster engine
// fills as a path of two rectangles: about 470,000 instructions for the
// list's size, a sixth of the work of showing a procedure's details, which
// repaints the list. Four one-pixel fills give the same pixels.

class QAbstractScrollArea;

namespace lookup {

// Paints the frame of area when Fusion would draw it as a plain outline and
// returns true; false (nothing painted) in every other case, which the
// caller leaves to Qt.
bool paintPlainFusionFrame(QAbstractScrollArea &area);

} // namespace lookup
