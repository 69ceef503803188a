// SPDX-License-Identifier: MIT
#pragma once

#include "platform/Form.h"

#include <QPointer>

// The one global reference to a window. Touching it creates the window (hidden, after its
// load handler) when none exists; after the window is unloaded the next touch creates a
// fresh one.
template <class T> class FormRef {
public:
    T *operator->() { return &get(); }
    T &operator*() { return get(); }

    T &get()
    {
        if (!isLoaded()) {
            form_ = new T;
            Form &form = *form_;
            form.placeAtStart();
            form.Form_Load();
        }
        return *form_;
    }

    bool isLoaded() const { return form_ && !form_->isUnloaded(); }

    void Load() { get(); }

    // Makes the window visible, modeless, and brings it to the front; creates it if needed.
    void Show() { static_cast<Form &>(get()).showModeless(); }

    void Hide() { get().hide(); }

    // Makes the window the active one, with the keyboard focus.
    void SetFocus()
    {
        T &form = get();
        form.raise();
        form.activateWindow();
    }

    // Asks the window's unload handler; unless it cancels, the window is destroyed.
    void Unload()
    {
        if (isLoaded())
            form_->close();
    }

private:
    QPointer<T> form_;
};
