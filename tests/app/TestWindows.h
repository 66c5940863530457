#pragma once
// Plain X11 windows made with xcb for the window-search tests, as another
// program would make them, and what the tests look at on the display.

#include <QByteArray>
#include <QString>
#include <QVector>

#include <cstdint>
#include <optional>

struct xcb_connection_t;

namespace apptest {

using WindowId = std::uint32_t;

struct ClientMessage {
    WindowId window;
    QByteArray type; // the atom's name
    std::uint32_t data[5];
};

class TestWindows {
public:
    explicit TestWindows(const QByteArray &display);
    ~TestWindows(); // destroys every window it made
    TestWindows(const TestWindows &) = delete;
    TestWindows &operator=(const TestWindows &) = delete;

    bool isConnected() const;

    // A top-level window; each title is set only when given. wmName is
    // written as STRING (Latin-1).
    WindowId create(std::optional<QString> netWmName, std::optional<QString> wmName, bool mapped);
    // Replaces a text property with bytes of the given type (an atom name).
    void setText(WindowId window, const char *property, const char *type, const QByteArray &bytes);
    void map(WindowId window);
    // What a program sends to have its window minimised (ICCCM WM_CHANGE_STATE).
    void minimise(WindowId window);
    // What a window manager leaves on a window it has minimised (WM_STATE
    // Iconic), for displays without one.
    void markMinimised(WindowId window);
    // The window that has the keyboard focus.
    WindowId inputFocus();
    void unmap(WindowId window);
    void destroy(WindowId window);
    void destroyAll();

    bool isViewable(WindowId window);
    // Mapped children of the root window, bottom to top.
    QVector<WindowId> mappedStack();

    // A 32-bit property of a window, empty when it has none.
    QVector<std::uint32_t> cardinals(WindowId window, const char *property);
    QVector<std::uint32_t> rootCardinals(const char *property) { return cardinals(root_, property); }
    // What a window manager sends when the user closes a window (WM_DELETE_WINDOW).
    void requestClose(WindowId window);

    void setClientList(const QVector<WindowId> &windows);
    void removeClientList();

    // Client messages sent to the root window from now on are collected.
    void watchRootMessages();
    QVector<ClientMessage> takeRootMessages();

    std::uint32_t atom(const char *name);
    QByteArray atomName(std::uint32_t atom);
    void sync();

private:
    xcb_connection_t *connection_ = nullptr;
    WindowId root_ = 0;
    QVector<WindowId> made_;
};

} // namespace apptest
