// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QWidget>

class QMenuBar;
class QPushButton;
class QVBoxLayout;
class ClientArea;

// A window of the program. A form is a single instance reached through a FormRef: the
// reference creates it, runs Form_Load, and hands it out until the form is unloaded.
// Unloading (Unload through the reference, or the frame's close box) asks Form_Unload,
// and unless that cancels, the form is destroyed; the next touch of the reference makes a
// fresh one.
class Form : public QWidget {
    Q_OBJECT

public:
    ~Form() override;

    bool isUnloaded() const { return unloaded_; }

    // The live forms, oldest first.
    static QList<Form *> liveForms();

    // Destroys the form at once without asking its unload handler (the program is ending).
    void discard();

protected:
    enum class Frame {
        FixedDialog, // title bar with a close box, no minimise or maximise box, fixed size
        Borderless,  // no frame and no title bar at all
    };
    enum class StartPosition { Manual, CentreScreen };

    Form(const QString &name, Frame frame, StartPosition start);

    // The client area that controls are placed on, in twips through Twips.h.
    QWidget *client() const;
    void setClientSize(QSize size);
    // Drawn unscaled from the client area's top-left corner and cut off at its edges.
    void setPicture(const QString &resource);
    QMenuBar *addMenuBar();
    // Enter anywhere in the window presses this button, unless another button has the focus
    // (it presses itself) or the button is disabled.
    void setDefaultButton(QPushButton *button);
    // Places the window's outer frame, title bar included, with its top-left corner here.
    void moveFrameTo(QPoint topLeft);

    virtual void Form_Load() {}
    virtual void Form_Unload(bool &cancel) { Q_UNUSED(cancel); }

    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    template <class> friend class FormRef;

    void placeAtStart();
    void showModeless();

    QVBoxLayout *layout_;
    ClientArea *client_;
    StartPosition start_;
    bool unloaded_ = false;
    QPushButton *defaultButton_ = nullptr;
};
