#pragma once
// The program's entry: one instance at a time. A second instance brings the
// running one's frame window forward and ends without a window of its own; the
// first shows the frame window.

#include "app/frmMainForm.h"
#include "platform/desktop/InstanceChannel.h"
#include "platform/desktop/InstanceLock.h"
#include "platform/desktop/TopLevelWindows.h"

#include <QString>
#include <memory>

namespace app::modMainModule {

// The frame window's caption: the title a second instance looks for.
inline const QString WindowTitleToActivate = QStringLiteral("Vorimel");

// What a started instance keeps for its lifetime; null in a second instance,
// which should end at once.
struct Instance {
    std::unique_ptr<frmMainForm> mainForm;
    // Where later starts ask for the frame; declared last, so it goes first.
    std::unique_ptr<platform::desktop::InstanceChannel> channel;
};

// Reads the previous-instance flag from lock (acquiring it). The caller keeps
// the lock beyond the main window, and beyond the error box of a start that
// failed, so that a start meanwhile ends as a second instance. Throws
// platform::AppError when the frame window fails to load (the caller reports
// it and ends the program).
Instance Main(platform::desktop::InstanceLock &lock, const QString &programFolder = QString());

// Restores, activates and raises hwnd, but only in a second instance and only
// for a window that was found (hwnd > 0).
void ActivatePrevInstance(platform::desktop::WindowHandle hwnd);

// The common-controls registration; its failure is of no consequence.
void InitControls();

} // namespace app::modMainModule
