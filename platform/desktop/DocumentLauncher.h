#pragma once
// Opening a document or an address with the desktop's default handler, as the
// About window does for the maker's web site.

#include <QUrl>
#include <functional>

namespace platform::desktop {

// Result codes in the shell's convention: above 32 means the handler started.
inline constexpr int ShellExecuteSucceeded = 42;
inline constexpr int SE_ERR_NOASSOC = 31;

// How an address is handed to the desktop; QDesktopServices::openUrl unless
// replaced (tests replace it). Returns whether a handler took the address.
using UrlOpener = std::function<bool(const QUrl &)>;
// An empty opener restores the desktop's own.
void setUrlOpener(UrlOpener opener);

// Opens `file` (an address, or a path on this machine) with its default
// handler. `operation` must be "open" (any letter case) or empty; anything else
// is not supported here and returns SE_ERR_NOASSOC, as does a file no handler
// takes.
int ShellExecuteA(const QString &operation, const QString &file);

} // namespace platform::desktop
