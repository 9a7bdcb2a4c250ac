#include "common/event_hooks.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QWidget>

namespace {

class EventHook : public QObject {
public:
    EventHook(QWidget* watched, std::function<bool(QEvent*)> hook)
        : QObject(watched), hook_(std::move(hook)) {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override { return hook_(event); }

private:
    std::function<bool(QEvent*)> hook_;
};

// The character code of a key, as the panel's key handlers expect it: 13 Enter, 8 Backspace,
// 27 Escape, the character for printable keys, 0 for keys that type nothing.
int keyAscii(int key, const QString& text) {
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Escape:
            return 27;
        default:
            return text.isEmpty() ? 0 : text.at(0).unicode();
    }
}

}  // namespace

void onKeyPress(QWidget* widget, std::function<void(int)> handler) {
    new EventHook(widget, [handler = std::move(handler)](QEvent* event) {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (const int code = keyAscii(key->key(), key->text()); code != 0) handler(code);
        return false;
    });
}

void onMouseUp(QWidget* widget, std::function<void()> handler) {
    new EventHook(widget, [handler = std::move(handler)](QEvent* event) {
        // A list selects on the press, so the selection is already final here.
        if (event->type() == QEvent::MouseButtonRelease) handler();
        return false;
    });
}

void onFocusOut(QWidget* widget, std::function<void()> handler) {
    new EventHook(widget, [handler = std::move(handler)](QEvent* event) {
        if (event->type() != QEvent::FocusOut) return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) handler();
        return false;
    });
}
