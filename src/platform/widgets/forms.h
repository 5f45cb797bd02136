#pragma once

#include <QWidget>
#include <typeindex>

// Windows as VB's default instances: touching a window that is not loaded loads it hidden; unloading it lets
// the next touch load a fresh one.
namespace ui {

namespace detail {
QWidget* loadedForm(std::type_index type);
void registerForm(std::type_index type, QWidget* w);
void unloadForm(std::type_index type);
} // namespace detail

// The loaded instance of W, or a new hidden one. A new instance gets WA_DeleteOnClose, so that closing it
// unloads it as closing a VB form does; a window may clear the attribute to stay loaded when closed.
template <class W> W& form() {
    if (QWidget* w = detail::loadedForm(typeid(W)))
        return *static_cast<W*>(w);
    W* w = new W();
    w->setAttribute(Qt::WA_DeleteOnClose);
    detail::registerForm(typeid(W), w);
    return *w;
}

// A control or menu item made in code, named as the window's code calls it, so findChild finds it.
template <class W> W* named(W* w, const char* name) {
    w->setObjectName(QLatin1String(name));
    return w;
}

template <class W> bool isLoaded() {
    return detail::loadedForm(typeid(W)) != nullptr;
}

// Closes W (its closeEvent may refuse) and deletes it once control is back in the event loop; the next form<W>()
// loads a fresh one at once. Safe from W's own handlers.
template <class W> void unload() {
    detail::unloadForm(typeid(W));
}

// Unloads every loaded window except `except`; false when one refused to close (it stays loaded).
bool unloadAll(QWidget* except = nullptr);

// Shows w modeless, owned by owner (it stays above it and goes with it), keeping its size and place.
void showOwned(QWidget* w, QWidget* owner);

// Shows W owned by owner; one already loaded is first handed to `turn` (to show what it is now asked for).
template <class W, class Turn> void showOwnedTurned(QWidget* owner, Turn turn) {
    const bool open = isLoaded<W>();
    W& w = form<W>();
    if (open)
        turn(w);
    showOwned(&w, owner);
}

} // namespace ui
