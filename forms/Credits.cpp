// SPDX-License-Identifier: MIT
#include "forms/Credits.h"

#include "platform/Controls.h"
#include "platform/Fonts.h"

using namespace Qt::StringLiterals;

namespace Credits {

Labels addLabels(QWidget *client, const QString &productName, const Places &places)
{
    const auto colour = SystemColour::ButtonText;
    Labels labels{};
    labels.Label1[0] = addLabel(client, u"Label1"_s, u"ポルカン"_s, places.family, colour);
    labels.Label1[0]->setFont(Fonts::designFont(20.25));
    labels.Label1[1] = addLabel(client, u"Label1"_s, productName, places.product, colour);
    labels.Label1[1]->setFont(Fonts::designFont(20.25));
    sizeToText(labels.Label1[1]);
    labels.Label3 = addLabel(client, u"Label3"_s, u"Version 1.01"_s, places.version, colour);
    sizeToText(labels.Label3);
    labels.Label2 =
        addLabel(client, u"Label2"_s, QString::fromUtf16(kCopyright), places.copyright, colour);
    labels.Label4 =
        addLabel(client, u"Label4"_s, QString::fromUtf16(kNotice), places.notice, colour);
    labels.Label4->setFont(Fonts::designFont(9.75));
    labels.Label4->setWordWrap(true);
    return labels;
}

} // namespace Credits
