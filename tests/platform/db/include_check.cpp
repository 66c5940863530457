// Compiled only by the layering tests, with the settings of the library under
// test: the one include below must stop at the layer guard.
#include CHECKED_HEADER
