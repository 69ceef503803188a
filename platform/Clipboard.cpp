// SPDX-License-Identifier: MIT
#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace Clipboard {

namespace {

// Whether what the clipboard holds is still the face this program put there last. The toolkit
// tells of every change of the clipboard's owner: any change after our own setting means that
// another program owns what is there now, whatever it holds, even the same text.
class Ownership : public QObject {
public:
    Ownership()
    {
        connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
                [this] { ours_ = false; });
    }

    void take(const QString &text)
    {
        QGuiApplication::clipboard()->setText(text);
        ours_ = true;
    }

    // A platform that can say who owns the clipboard is asked as well.
    bool ours() const { return ours_ || QGuiApplication::clipboard()->ownsClipboard(); }

private:
    bool ours_ = false;
};

Ownership &ownership()
{
    static Ownership instance;
    return instance;
}

} // namespace

void Clear()
{
    if (ownership().ours())
        QGuiApplication::clipboard()->clear();
}

void SetText(const QString &text)
{
    ownership().take(text);
}

} // namespace Clipboard
