#pragma once
// The program's entry: one instance at a time. A second instance brings the
// window titled WindowTitleToActivate forward, if there is one, and ends
// without a window of its own; the first shows the frame window.

#include "app/frmMainForm.h"
#include "platform/desktop/InstanceLock.h"
#include "platform/desktop/TopLevelWindows.h"

#include <QString>
#include <memory>

namespace app::modMainModule {

inline const QString WindowTitleToActivate = QStringLiteral("Calvorin Framework");

// What a started instance keeps for its lifetime. Both are null in a second
// instance, which should end at once.
struct Instance {
    std::unique_ptr<platform::desktop::InstanceLock> lock;
    std::unique_ptr<frmMainForm> mainForm; // destroyed before the lock is let go
};

// Throws platform::AppError when the frame window fails to load (the caller
// reports it and ends the program).
Instance Main(const QString &lockPath = platform::desktop::InstanceLock::defaultPath(),
              const QString &programFolder = QString());

// Restores, activates and raises hwnd, but only in a second instance and only
// for a window that was found (hwnd > 0).
void ActivatePrevInstance(platform::desktop::WindowHandle hwnd);

// The common-controls registration; its failure is of no consequence.
void InitControls();

} // namespace app::modMainModule
