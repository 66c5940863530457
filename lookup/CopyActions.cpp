#include "lookup/CopyActions.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QWidget>

namespace lookup {

void copyText(const QString &text)
{
    if (text.isEmpty())
        return;
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(text, QClipboard::Clipboard);
    if (clipboard->supportsSelection())
        clipboard->setText(text, QClipboard::Selection);
}

QAction *addCopyAction(QWidget *w, const QString &caption, std::function<QString()> text, bool onCopyKey)
{
    auto *action = new QAction(caption, w);
    if (onCopyKey) {
        action->setShortcuts(QKeySequence::Copy);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    }
    QObject::connect(action, &QAction::triggered, w, [text = std::move(text)] { copyText(text()); });
    w->addAction(action);
    w->setContextMenuPolicy(Qt::ActionsContextMenu);
    return action;
}

} // namespace lookup
