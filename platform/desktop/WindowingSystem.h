#pragma once
// Which windowing system the windows go to, settled before the application
// object exists: Qt ends the process with an abort when its platform plugin
// cannot start, which leaves a user with a core dump and no word of why.

#include <QByteArray>
#include <QString>

namespace platform::desktop {

struct WindowingChoice {
    // For QT_QPA_PLATFORM while the application object is made; empty leaves
    // Qt's own choice.
    QByteArray platform;
    // Why no window can be shown anywhere; empty when one can.
    QString problem;
};

// Respects a platform the user named (QT_QPA_PLATFORM, -platform). Otherwise
// prefers the Wayland compositor when the session is a Wayland one or no X
// server answers, and says what is missing when nothing answers.
WindowingChoice chooseWindowingSystem(int argc, char **argv);

} // namespace platform::desktop
