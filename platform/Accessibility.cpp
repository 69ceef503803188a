// SPDX-License-Identifier: MIT
#include "platform/Accessibility.h"

#include <QAccessibleWidget>
#include <QLabel>

using namespace Qt::StringLiterals;

namespace {

const char *const kPurpose = "announcedPurpose";

class LabelWithPurpose : public QAccessibleWidget {
public:
    explicit LabelWithPurpose(QLabel *label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Name)
            return QAccessibleWidget::text(kind);
        const auto *label = static_cast<const QLabel *>(widget());
        const QString purpose = label->property(kPurpose).toString();
        return label->text().isEmpty() ? purpose : purpose + u"："_s + label->text();
    }
};

QAccessibleInterface *labelsWithPurpose(const QString &, QObject *object)
{
    auto *label = qobject_cast<QLabel *>(object);
    if (label && label->property(kPurpose).isValid())
        return new LabelWithPurpose(label);
    return nullptr;
}

} // namespace

void announceWithPurpose(QLabel *label, const QString &purpose)
{
    static const bool installed = [] {
        QAccessible::installFactory(labelsWithPurpose);
        return true;
    }();
    Q_UNUSED(installed);
    label->setProperty(kPurpose, purpose);
}
