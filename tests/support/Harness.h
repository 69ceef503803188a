// SPDX-License-Identifier: MIT
#pragma once

#include "platform/Form.h"
#include "platform/MsgBox.h"
#include "platform/Runtime.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QList>
#include <QTest>

// Answers message boxes in place of a person, in the order given, and keeps every box asked.
class ScriptedMsgBoxes {
public:
    ScriptedMsgBoxes()
    {
        setMsgBoxAnswerer([this](const MsgBoxCall &call) {
            asked.append(call);
            return answers.isEmpty() ? 0 : answers.takeFirst();
        });
    }
    ~ScriptedMsgBoxes() { setMsgBoxAnswerer({}); }
    ScriptedMsgBoxes(const ScriptedMsgBoxes &) = delete;
    ScriptedMsgBoxes &operator=(const ScriptedMsgBoxes &) = delete;

    void willAnswer(std::initializer_list<int> results) { answers.append(results); }

    QList<MsgBoxCall> asked;
    QList<int> answers;
};

// Keeps End from stopping the test program and counts how often it was asked for.
class EndRecorder {
public:
    EndRecorder()
    {
        Runtime::setEndAction([this] { ++ends; });
    }
    ~EndRecorder()
    {
        Runtime::setEndAction([] { QCoreApplication::exit(0); });
    }
    EndRecorder(const EndRecorder &) = delete;
    EndRecorder &operator=(const EndRecorder &) = delete;

    int ends = 0;
};

// Destroys every window so that the next test starts as a fresh program would.
inline void destroyAllWindows()
{
    for (Form *form : Form::liveForms())
        form->discard();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

inline QString clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

// The entries of a face list, in order.
inline QStringList entries(QComboBox *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

// The entries of a face list as its drop-down draws them, in order.
inline QStringList drawnEntries(QComboBox *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemData(i, Qt::DisplayRole).toString();
    return texts;
}

// How many text lines high the drop-down draws each entry, in order.
inline QList<int> drawnLines(QComboBox *list)
{
    list->showPopup();
    QAbstractItemView *view = list->view();
    QList<int> lines;
    for (int i = 0; i < list->count(); ++i)
        lines << view->visualRect(list->model()->index(i, 0)).height() /
                     view->fontMetrics().height();
    list->hidePopup();
    return lines;
}

// Types one character at a time, as a keyboard with an input method delivers them.
inline void typeInto(QWidget *widget, const QString &text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}
