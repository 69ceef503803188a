// SPDX-License-Identifier: MIT
#include "platform/MsgBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace {

MsgBoxAnswerer &answerer()
{
    static MsgBoxAnswerer current;
    return current;
}

struct ButtonDesign {
    const char16_t *text;
    QMessageBox::ButtonRole role;
    MsgBoxResult result;
};

// Captions as a Japanese desktop labels its message box buttons.
constexpr ButtonDesign kOK{u"OK", QMessageBox::AcceptRole, vbOK};
constexpr ButtonDesign kCancel{u"キャンセル", QMessageBox::RejectRole, vbCancel};
constexpr ButtonDesign kYes{u"はい(&Y)", QMessageBox::YesRole, vbYes};
constexpr ButtonDesign kNo{u"いいえ(&N)", QMessageBox::NoRole, vbNo};

QList<ButtonDesign> buttonsFor(int style)
{
    switch (style & 7) {
    case MsgBoxStyle::vbOKCancel:
        return {kOK, kCancel};
    case MsgBoxStyle::vbYesNo:
        return {kYes, kNo};
    default:
        return {kOK};
    }
}

// Escape and the close box answer the second of two buttons, or the only one.
qsizetype escapeIndex(qsizetype buttons)
{
    return buttons > 1 ? 1 : 0;
}

QMessageBox::Icon iconFor(int style)
{
    switch (style & 0x70) {
    case MsgBoxStyle::vbCritical:
        return QMessageBox::Critical;
    case MsgBoxStyle::vbQuestion:
        return QMessageBox::Question;
    case MsgBoxStyle::vbExclamation:
        return QMessageBox::Warning;
    case MsgBoxStyle::vbInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

const char *const kResultProperty = "msgBoxResult";

// Message boxes come up in the middle of the screen, as on the program's home platform. Qt
// would centre one over its parent from a guess of the parent's frame, and over the main
// window in its corner the box covered that window's title bar under several window managers.
class ScreenCentredMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent *event) override
    {
        QMessageBox::showEvent(event); // gives the box its final size
        setGeometry(screenCentredGeometry());
    }

private:
    // The box is not framed yet; its frame will be as its parent's, which the window manager
    // has framed already, so the frame is what is centred.
    QRect screenCentredGeometry() const
    {
        const QWidget *parent = parentWidget();
        const QRect area = (parent ? parent->screen() : screen())->availableGeometry();
        QMargins frame;
        if (parent) {
            const QRect outer = parent->frameGeometry();
            const QRect inner = parent->geometry();
            frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                             outer.right() - inner.right(), outer.bottom() - inner.bottom());
        }
        QRect framed(QPoint(), size().grownBy(frame));
        framed.moveCenter(area.center());
        return QRect(framed.topLeft() + QPoint(frame.left(), frame.top()), size());
    }
};

} // namespace

QMessageBox *buildMessageBox(const MsgBoxCall &call, QWidget *window)
{
    QMessageBox *box = new ScreenCentredMessageBox(window);
    box->setWindowModality(Qt::ApplicationModal);
    box->setWindowTitle(call.title);
    box->setText(call.prompt);
    box->setTextFormat(Qt::PlainText);
    box->setIcon(iconFor(call.style));

    const QList<ButtonDesign> designs = buttonsFor(call.style);
    QList<QPushButton *> buttons;
    for (const ButtonDesign &design : designs) {
        QPushButton *button = box->addButton(QString::fromUtf16(design.text), design.role);
        button->setProperty(kResultProperty, int(design.result));
        buttons.append(button);
    }
    const bool secondIsDefault = (call.style & MsgBoxStyle::vbDefaultButton2) && buttons.size() > 1;
    box->setDefaultButton(buttons.at(secondIsDefault ? 1 : 0));
    box->setEscapeButton(buttons.at(escapeIndex(buttons.size())));
    return box;
}

int MsgBox(const QString &prompt, int style, const QString &title)
{
    const MsgBoxCall call{prompt, style, title};
    if (answerer())
        return answerer()(call);

    // Until a button is pressed the answer is Escape's, which the close box gives too. The box
    // deletes itself once answered; should the window it stands over go first, the box goes
    // with it and the answer stays Escape's.
    const QList<ButtonDesign> designs = buttonsFor(style);
    int result = designs.at(escapeIndex(designs.size())).result;
    QMessageBox *box = buildMessageBox(call, QApplication::activeWindow());
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::buttonClicked, [&result](QAbstractButton *pressed) {
        result = pressed->property(kResultProperty).toInt();
    });
    box->exec();
    return result;
}

void setMsgBoxAnswerer(MsgBoxAnswerer answerer_)
{
    answerer() = std::move(answerer_);
}
