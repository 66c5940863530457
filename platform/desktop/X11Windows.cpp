#include "X11Windows.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace platform::desktop {

namespace {

struct FreeReply {
    void operator()(void *reply) const { std::free(reply); }
};
template <class T> using Reply = std::unique_ptr<T, FreeReply>;

// Titles and window lists are read up to these sizes (in 32-bit units); a
// property that claims more is cut there rather than trusted.
constexpr std::uint32_t MaxTitleUnits = 1024;
constexpr std::uint32_t MaxClientListUnits = 65536;

// _NET_WM_STATE actions and the source indication of EWMH client messages:
// we act for the user like a pager, not as the window's own application.
constexpr std::uint32_t NetWmStateRemove = 0;
constexpr std::uint32_t SourcePager = 2;

} // namespace

struct X11Windows::Impl {
    xcb_connection_t *connection = nullptr;
    xcb_window_t root = XCB_WINDOW_NONE;
    xcb_atom_t netClientList = XCB_ATOM_NONE;
    xcb_atom_t netWmName = XCB_ATOM_NONE;
    xcb_atom_t utf8String = XCB_ATOM_NONE;
    xcb_atom_t netActiveWindow = XCB_ATOM_NONE;
    xcb_atom_t netWmState = XCB_ATOM_NONE;
    xcb_atom_t maximizedVert = XCB_ATOM_NONE;
    xcb_atom_t maximizedHorz = XCB_ATOM_NONE;
    xcb_atom_t hidden = XCB_ATOM_NONE;
    xcb_atom_t netRestackWindow = XCB_ATOM_NONE;
    xcb_atom_t wmState = XCB_ATOM_NONE;
    xcb_atom_t startupInfoBegin = XCB_ATOM_NONE;
    xcb_atom_t startupInfo = XCB_ATOM_NONE;

    ~Impl()
    {
        if (connection)
            xcb_disconnect(connection);
    }

    void internAtoms()
    {
        struct Wanted {
            const char *name;
            xcb_atom_t *slot;
        };
        const Wanted wanted[] = {
            {"_NET_CLIENT_LIST", &netClientList},   {"_NET_WM_NAME", &netWmName},
            {"UTF8_STRING", &utf8String},           {"_NET_ACTIVE_WINDOW", &netActiveWindow},
            {"_NET_WM_STATE", &netWmState},         {"_NET_WM_STATE_MAXIMIZED_VERT", &maximizedVert},
            {"_NET_WM_STATE_MAXIMIZED_HORZ", &maximizedHorz},
            {"_NET_WM_STATE_HIDDEN", &hidden},      {"_NET_RESTACK_WINDOW", &netRestackWindow},
            {"WM_STATE", &wmState},                 {"_NET_STARTUP_INFO_BEGIN", &startupInfoBegin},
            {"_NET_STARTUP_INFO", &startupInfo},
        };
        xcb_intern_atom_cookie_t cookies[std::size(wanted)];
        for (std::size_t i = 0; i < std::size(wanted); ++i)
            cookies[i] = xcb_intern_atom(connection, 0, std::uint16_t(std::strlen(wanted[i].name)), wanted[i].name);
        for (std::size_t i = 0; i < std::size(wanted); ++i) {
            Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(connection, cookies[i], nullptr));
            *wanted[i].slot = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        }
    }

    struct Property {
        xcb_atom_t type = XCB_ATOM_NONE;
        std::uint8_t format = 0;
        QByteArray bytes;
    };

    // The property's value, or nothing when the window lacks it or is gone.
    std::optional<Property> property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type,
                                     std::uint32_t maxUnits) const
    {
        if (name == XCB_ATOM_NONE)
            return std::nullopt;
        const auto cookie = xcb_get_property(connection, 0, window, name, type, 0, maxUnits);
        Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(connection, cookie, nullptr));
        if (!reply || reply->type == XCB_ATOM_NONE)
            return std::nullopt;
        const int length = xcb_get_property_value_length(reply.get());
        Property result;
        result.type = reply->type;
        result.format = reply->format;
        if (length > 0)
            result.bytes = QByteArray(static_cast<const char *>(xcb_get_property_value(reply.get())), length);
        return result;
    }

    // Shown, or minimised by a window manager (which then keeps WM_STATE on
    // it). A window that is neither is withdrawn: a toolkit's hidden helper
    // window, such as Qt's client leader that bears the program's title too.
    bool isShownOrMinimised(xcb_window_t window) const
    {
        Reply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr));
        if (!attributes)
            return false;
        if (attributes->map_state == XCB_MAP_STATE_VIEWABLE)
            return true;
        constexpr std::uint32_t NormalState = 1;
        constexpr std::uint32_t IconicState = 3;
        const auto state = property(window, wmState, wmState, 2);
        if (!state || state->format != 32 || state->bytes.size() < qsizetype(sizeof(std::uint32_t)))
            return false;
        std::uint32_t value = 0;
        std::memcpy(&value, state->bytes.constData(), sizeof value);
        return value == NormalState || value == IconicState;
    }

    // The server's time now, which a window manager that keeps new windows
    // from stealing the focus compares with the time of the user's last
    // action. Read from the notice of a property change on a window of our
    // own; CurrentTime when that fails.
    xcb_timestamp_t serverTime()
    {
        const xcb_window_t window = xcb_generate_id(connection);
        const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(connection, 0, window, root, -1, -1, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                          XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);
        xcb_change_property(connection, XCB_PROP_MODE_APPEND, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0,
                            nullptr);
        xcb_flush(connection);
        xcb_timestamp_t time = XCB_CURRENT_TIME;
        while (xcb_generic_event_t *event = xcb_wait_for_event(connection)) {
            const Reply<xcb_generic_event_t> owned(event);
            if ((event->response_type & 0x7F) == XCB_PROPERTY_NOTIFY) {
                const auto *notice = reinterpret_cast<const xcb_property_notify_event_t *>(event);
                if (notice->window == window) {
                    time = notice->time;
                    break;
                }
            }
        }
        xcb_destroy_window(connection, window);
        return time;
    }

    void sendToRoot(xcb_window_t window, xcb_atom_t messageType, const std::uint32_t (&data)[5])
    {
        if (messageType == XCB_ATOM_NONE)
            return;
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = messageType;
        std::memcpy(message.data.data32, data, sizeof data);
        xcb_send_event(connection, 0, root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char *>(&message));
    }
};

X11Windows::X11Windows(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}
X11Windows::~X11Windows() = default;

std::unique_ptr<X11Windows> X11Windows::connect(const QByteArray &displayName)
{
    auto impl = std::make_unique<Impl>();
    int screenNumber = 0;
    impl->connection = xcb_connect(displayName.isEmpty() ? nullptr : displayName.constData(), &screenNumber);
    if (!impl->connection || xcb_connection_has_error(impl->connection))
        return nullptr;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(impl->connection));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    if (!screens.rem)
        return nullptr;
    impl->root = screens.data->root;
    impl->internAtoms();
    return std::unique_ptr<X11Windows>(new X11Windows(std::move(impl)));
}

QVector<X11WindowId> X11Windows::topLevelWindows() const
{
    QVector<X11WindowId> windows;
    const auto clients = d->property(d->root, d->netClientList, XCB_ATOM_WINDOW, MaxClientListUnits);
    if (clients && clients->format == 32) {
        const auto count = clients->bytes.size() / qsizetype(sizeof(xcb_window_t));
        // An empty list (a manager with no clients yet) leaves no buffer to copy into.
        windows.resize(count);
        if (count > 0)
            std::memcpy(windows.data(), clients->bytes.constData(), std::size_t(count) * sizeof(xcb_window_t));
        return windows;
    }
    Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(d->connection, xcb_query_tree(d->connection, d->root), nullptr));
    if (!tree)
        return windows;
    const xcb_window_t *children = xcb_query_tree_children(tree.get());
    return QVector<X11WindowId>(children, children + xcb_query_tree_children_length(tree.get()));
}

QString X11Windows::title(X11WindowId window) const
{
    // Asked for UTF8_STRING, a _NET_WM_NAME of another type comes back as
    // its type and no bytes; such a window is named by its WM_NAME.
    const auto netName = d->property(window, d->netWmName, d->utf8String, MaxTitleUnits);
    if (netName && netName->type == d->utf8String && netName->format == 8)
        return QString::fromUtf8(netName->bytes);
    const auto name = d->property(window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, MaxTitleUnits);
    if (!name || name->format != 8)
        return QString();
    if (name->type == d->utf8String)
        return QString::fromUtf8(name->bytes);
    // STRING is Latin-1; COMPOUND_TEXT agrees with it for the characters a title we look for uses.
    return QString::fromLatin1(name->bytes);
}

X11WindowId X11Windows::findByTitle(const QString &wanted) const
{
    for (const X11WindowId window : topLevelWindows()) {
        if (title(window) == wanted && d->isShownOrMinimised(window))
            return window;
    }
    return 0;
}

void X11Windows::restore(X11WindowId window)
{
    // Mapping a withdrawn or iconified window is the ICCCM way back to the
    // normal state; a window manager that gets it as a map request
    // de-iconifies the window, one that does not gets it mapped directly.
    xcb_map_window(d->connection, window);
    d->sendToRoot(window, d->netWmState,
                  {NetWmStateRemove, d->maximizedVert, d->maximizedHorz, SourcePager, 0});
    d->sendToRoot(window, d->netWmState, {NetWmStateRemove, d->hidden, 0, SourcePager, 0});
}

void X11Windows::activate(X11WindowId window)
{
    // Most managers also de-iconify and raise the window they activate; a
    // request without a time is refused by those that guard the focus.
    d->sendToRoot(window, d->netActiveWindow, {SourcePager, d->serverTime(), 0, 0, 0});
}

void X11Windows::raise(X11WindowId window)
{
    // A reparenting manager stacks its frames, not the client windows inside
    // them: it is asked to restack, and the direct request serves a display
    // without a manager.
    d->sendToRoot(window, d->netRestackWindow, {SourcePager, XCB_WINDOW_NONE, XCB_STACK_MODE_ABOVE, 0, 0});
    const std::uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(d->connection, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
}

void X11Windows::endStartup(const QByteArray &startupId)
{
    if (startupId.isEmpty() || d->startupInfoBegin == XCB_ATOM_NONE || d->startupInfo == XCB_ATOM_NONE)
        return;
    // The startup-notification message: a key=value line in 20-byte pieces,
    // the first under _NET_STARTUP_INFO_BEGIN, ended by a NUL. A value with a
    // space, quote or backslash goes in quotes, those two escaped.
    QByteArray id = startupId;
    if (id.contains(' ') || id.contains('"') || id.contains('\\')) {
        id.replace('\\', "\\\\");
        id.replace('"', "\\\"");
        id = '"' + id + '"';
    }
    const QByteArray message = "remove: ID=" + id + '\0';
    const xcb_window_t sender = xcb_generate_id(d->connection);
    xcb_create_window(d->connection, 0, sender, d->root, -1, -1, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, 0, nullptr);
    for (qsizetype offset = 0; offset < message.size(); offset += 20) {
        xcb_client_message_event_t piece{};
        piece.response_type = XCB_CLIENT_MESSAGE;
        piece.format = 8;
        piece.window = sender;
        piece.type = offset == 0 ? d->startupInfoBegin : d->startupInfo;
        const qsizetype length = std::min<qsizetype>(20, message.size() - offset);
        std::memcpy(piece.data.data8, message.constData() + offset, std::size_t(length));
        xcb_send_event(d->connection, 0, d->root, XCB_EVENT_MASK_PROPERTY_CHANGE,
                       reinterpret_cast<const char *>(&piece));
    }
    xcb_destroy_window(d->connection, sender);
}

void X11Windows::sync()
{
    Reply<xcb_get_input_focus_reply_t> reply(
        xcb_get_input_focus_reply(d->connection, xcb_get_input_focus(d->connection), nullptr));
}

} // namespace platform::desktop
