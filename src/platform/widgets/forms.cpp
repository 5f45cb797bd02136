#include "platform/widgets/forms.h"

#include <QCloseEvent>
#include <QPointer>
#include <unordered_map>
#include <vector>

namespace ui {
namespace {

std::unordered_map<std::type_index, QPointer<QWidget>>& registry() {
    static std::unordered_map<std::type_index, QPointer<QWidget>> forms;
    return forms;
}

void forget(QWidget* w) {
    auto& forms = registry();
    for (auto it = forms.begin(); it != forms.end();) {
        if (it->second.isNull() || it->second == w)
            it = forms.erase(it);
        else
            ++it;
    }
}

// Sees every close of a registered window: one that accepts the close and deletes itself is unloaded at once,
// not only when its deferred deletion runs.
class CloseWatcher : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Close || !watched->isWidgetType())
            return false;
        auto* w = static_cast<QWidget*>(watched);
        QPointer<QWidget> guard(w);
        // Let the window handle its close first, to learn whether it accepted.
        static_cast<QObject*>(w)->event(event);
        if (guard && event->isAccepted() && w->testAttribute(Qt::WA_DeleteOnClose))
            forget(w);
        return true;
    }
};

CloseWatcher& watcher() {
    static CloseWatcher* w = new CloseWatcher; // lives for the whole run
    return *w;
}

bool unloadWidget(QWidget* w) {
    if (!w->close())
        return false; // the window refused
    forget(w);
    w->hide();
    w->deleteLater(); // not at once: the caller may be one of its own handlers
    return true;
}

} // namespace

namespace detail {

QWidget* loadedForm(std::type_index type) {
    auto& forms = registry();
    const auto it = forms.find(type);
    if (it == forms.end())
        return nullptr;
    if (it->second.isNull()) {
        forms.erase(it);
        return nullptr;
    }
    return it->second.data();
}

void registerForm(std::type_index type, QWidget* w) {
    registry()[type] = w;
    w->installEventFilter(&watcher());
    QObject::connect(w, &QObject::destroyed, &watcher(), [w] { forget(w); });
}

void unloadForm(std::type_index type) {
    if (QWidget* w = loadedForm(type))
        unloadWidget(w);
}

} // namespace detail

bool unloadAll(QWidget* except) {
    std::vector<QPointer<QWidget>> all;
    for (const auto& [type, w] : registry())
        if (w && w != except)
            all.emplace_back(w);
    bool closed = true;
    for (const QPointer<QWidget>& w : all)
        if (w && w != except && !unloadWidget(w))
            closed = false;
    return closed;
}

void showOwned(QWidget* w, QWidget* owner) {
    if (owner && w->parentWidget() != owner) {
        const QPoint pos = w->pos();
        const QSize size = w->size();
        const bool placed = w->testAttribute(Qt::WA_Moved);
        w->setParent(owner, w->windowFlags() | Qt::Window);
        w->resize(size);
        if (placed)
            w->move(pos);
    }
    w->show();
    w->raise();
    w->activateWindow();
}

} // namespace ui
