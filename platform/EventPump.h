#pragma once
// "Let pending window messages run": the one place the program services events
// in the middle of an operation. Callers guard what those events may do.

namespace platform {
void serviceEvents();
}
