#pragma once
// "Let pending window messages run": the one place the program services events
// in the middle of an operation. Callers guard what those events may do.
//
// A search services events after every row it reads, tens of thousands of
// times, and nearly always nothing is pending. A full pass of the event loop
// then still asks the kernel whether any descriptor is ready; here a pass that
// could find nothing is recognised without that and costs little.

namespace platform {
void serviceEvents();
}
