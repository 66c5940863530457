#include "modMainModule.h"

#include "platform/desktop/ActivationToken.h"
#include "platform/desktop/CommonControls.h"

namespace app::modMainModule {

namespace {

// The previous-instance flag, read once at start.
bool previousInstance = false;

// Where no window of another program can be found (Wayland, or a frame not on
// this display), the running instance is asked to come forward itself, with
// this start's activation token.
void askTheRunningInstance(const platform::desktop::InstanceLock &lock)
{
    platform::desktop::InstanceChannel::send(platform::desktop::InstanceChannel::pathBeside(lock.path()),
                                             {platform::desktop::launchActivationToken()});
}

std::unique_ptr<platform::desktop::InstanceChannel> listenForLaterStarts(const platform::desktop::InstanceLock &lock,
                                                                         frmMainForm &mainForm)
{
    // Without a lock of our own, another instance may be the one listening.
    if (!lock.isHeld())
        return nullptr;
    auto channel = std::make_unique<platform::desktop::InstanceChannel>();
    const bool listening = channel->listen(
        platform::desktop::InstanceChannel::pathBeside(lock.path()),
        [&mainForm](const platform::desktop::InstanceChannel::Request &request) {
            if (!mainForm.hasEnded())
                platform::desktop::bringWindowForward(mainForm, request.activationToken);
        });
    return listening ? std::move(channel) : nullptr;
}

} // namespace

Instance Main(platform::desktop::InstanceLock &lock, const QString &programFolder)
{
    previousInstance = !lock.acquire();
    if (previousInstance) {
        const platform::desktop::WindowHandle frame = platform::desktop::FindWindowA(nullptr, WindowTitleToActivate);
        ActivatePrevInstance(frame);
        if (frame <= 0)
            askTheRunningInstance(lock);
        platform::desktop::endLaunchFeedback(platform::desktop::launchStartupId());
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
        instance.channel = listenForLaterStarts(lock, *instance.mainForm);
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
