#include "modMainModule.h"

#include "platform/desktop/CommonControls.h"

namespace app::modMainModule {

namespace {

// The previous-instance flag, read once at start.
bool previousInstance = false;

} // namespace

Instance Main(platform::desktop::InstanceLock &lock, const QString &programFolder)
{
    previousInstance = !lock.acquire();
    if (previousInstance) {
        ActivatePrevInstance(platform::desktop::FindWindowA(nullptr, WindowTitleToActivate));
        return {};
    }
    // The file is read by a process of its own while the windows are built.
    frmMainForm::startReadingDatabase(programFolder);
    InitControls();
    Instance instance;
    instance.mainForm = std::make_unique<frmMainForm>(programFolder);
    instance.mainForm->MDIForm_Load();
    // Loading lets window events run; one of them may already have ended the program.
    if (!instance.mainForm->hasEnded()) {
        instance.mainForm->show();
        instance.mainForm->openAtPreferredSize();
    }
    return instance;
}

void ActivatePrevInstance(platform::desktop::WindowHandle hwnd)
{
    if (!previousInstance || hwnd <= 0)
        return;
    platform::desktop::ShowWindow(hwnd, platform::desktop::SW_SHOWNORMAL);
    platform::desktop::SetForegroundWindow(hwnd);
    platform::desktop::BringWindowToTop(hwnd);
}

void InitControls()
{
    platform::desktop::INITCOMMONCONTROLSEX controls;
    controls.dwSize = sizeof controls;
    controls.dwICC = platform::desktop::ICC_USEREX_CLASSES;
    platform::desktop::InitCommonControlsEx(&controls);
}

} // namespace app::modMainModule
