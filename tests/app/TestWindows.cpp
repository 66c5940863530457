#include "TestWindows.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace apptest {

namespace {

template <class T> std::unique_ptr<T, decltype(&std::free)> reply(T *value)
{
    return {value, &std::free};
}

} // namespace

TestWindows::TestWindows(const QByteArray &display)
{
    connection_ = xcb_connect(display.constData(), nullptr);
    if (xcb_connection_has_error(connection_))
        return;
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
}

TestWindows::~TestWindows()
{
    if (isConnected())
        destroyAll();
    xcb_disconnect(connection_);
}

bool TestWindows::isConnected() const
{
    return connection_ && !xcb_connection_has_error(connection_) && root_ != 0;
}

std::uint32_t TestWindows::atom(const char *name)
{
    auto answer = reply(xcb_intern_atom_reply(
        connection_, xcb_intern_atom(connection_, 0, std::uint16_t(std::strlen(name)), name), nullptr));
    return answer ? answer->atom : 0;
}

QByteArray TestWindows::atomName(std::uint32_t atom)
{
    auto answer = reply(xcb_get_atom_name_reply(connection_, xcb_get_atom_name(connection_, atom), nullptr));
    if (!answer)
        return {};
    return QByteArray(xcb_get_atom_name_name(answer.get()), xcb_get_atom_name_name_length(answer.get()));
}

WindowId TestWindows::create(std::optional<QString> netWmName, std::optional<QString> wmName, bool mapped)
{
    const WindowId window = xcb_generate_id(connection_);
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window, root_, 10, 10, 200, 100, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    if (netWmName) {
        const QByteArray text = netWmName->toUtf8();
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, atom("_NET_WM_NAME"), atom("UTF8_STRING"), 8,
                            std::uint32_t(text.size()), text.constData());
    }
    if (wmName) {
        const QByteArray text = wmName->toLatin1();
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                            std::uint32_t(text.size()), text.constData());
    }
    if (mapped)
        xcb_map_window(connection_, window);
    made_.append(window);
    sync();
    return window;
}

void TestWindows::setText(WindowId window, const char *property, const char *type, const QByteArray &bytes)
{
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, atom(property), atom(type), 8,
                        std::uint32_t(bytes.size()), bytes.constData());
    sync();
}

void TestWindows::minimise(WindowId window)
{
    constexpr std::uint32_t IconicState = 3;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atom("WM_CHANGE_STATE");
    message.data.data32[0] = IconicState;
    xcb_send_event(connection_, 0, root_,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char *>(&message));
    sync();
}

void TestWindows::markMinimised(WindowId window)
{
    const std::uint32_t state[2] = {3, 0}; // IconicState, no icon window
    const std::uint32_t type = atom("WM_STATE");
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, type, type, 32, 2, state);
    sync();
}

WindowId TestWindows::inputFocus()
{
    auto focus = reply(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    return focus ? focus->focus : 0;
}

void TestWindows::map(WindowId window)
{
    xcb_map_window(connection_, window);
    sync();
}

void TestWindows::unmap(WindowId window)
{
    xcb_unmap_window(connection_, window);
    sync();
}

void TestWindows::destroy(WindowId window)
{
    xcb_destroy_window(connection_, window);
    made_.removeAll(window);
    sync();
}

void TestWindows::destroyAll()
{
    for (const WindowId window : std::as_const(made_))
        xcb_destroy_window(connection_, window);
    made_.clear();
    removeClientList();
}

bool TestWindows::isViewable(WindowId window)
{
    auto attributes = reply(xcb_get_window_attributes_reply(
        connection_, xcb_get_window_attributes(connection_, window), nullptr));
    return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

QVector<WindowId> TestWindows::mappedStack()
{
    QVector<WindowId> mapped;
    auto tree = reply(xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root_), nullptr));
    if (!tree)
        return mapped;
    const xcb_window_t *children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i)
        if (isViewable(children[i]))
            mapped.append(children[i]);
    return mapped;
}

QVector<std::uint32_t> TestWindows::cardinals(WindowId window, const char *property)
{
    auto value = reply(xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, window, atom(property), XCB_GET_PROPERTY_TYPE_ANY, 0, 64),
        nullptr));
    if (!value || value->format != 32)
        return {};
    const auto *words = static_cast<const std::uint32_t *>(xcb_get_property_value(value.get()));
    return QVector<std::uint32_t>(words, words + xcb_get_property_value_length(value.get()) / 4);
}

void TestWindows::requestClose(WindowId window)
{
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = atom("WM_PROTOCOLS");
    message.data.data32[0] = atom("WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection_, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&message));
    sync();
}

void TestWindows::setClientList(const QVector<WindowId> &windows)
{
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, root_, atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW, 32,
                        std::uint32_t(windows.size()), windows.constData());
    sync();
}

void TestWindows::removeClientList()
{
    xcb_delete_property(connection_, root_, atom("_NET_CLIENT_LIST"));
    sync();
}

void TestWindows::watchRootMessages()
{
    // Startup notification goes to those who watch the root's properties.
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
    sync();
}

QVector<ClientMessage> TestWindows::takeRootMessages()
{
    sync();
    QVector<ClientMessage> messages;
    while (xcb_generic_event_t *event = xcb_poll_for_event(connection_)) {
        auto owned = reply(event);
        if ((event->response_type & 0x7F) != XCB_CLIENT_MESSAGE)
            continue;
        const auto *message = reinterpret_cast<const xcb_client_message_event_t *>(event);
        ClientMessage taken{message->window, atomName(message->type), {}};
        std::memcpy(taken.data, message->data.data32, sizeof taken.data);
        messages.append(taken);
    }
    return messages;
}

void TestWindows::sync()
{
    reply(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

} // namespace apptest
