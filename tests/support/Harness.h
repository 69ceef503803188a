// SPDX-License-Identifier: MIT
#pragma once

#include "platform/Form.h"
#include "platform/MsgBox.h"
#include "platform/Runtime.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QEvent>
#include <QList>

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
