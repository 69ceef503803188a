// SPDX-License-Identifier: MIT
#include "catalogue/FaceListing.h"

#include "catalogue/BuiltinFaces.h"
#include "text/CodePage932.h"

FaceListing listEveryFace(const QString &faceFilePath)
{
    FaceListing listing;
    for (const Catalogue::Category *category : Catalogue::kCategories)
        listing.faces.append(Catalogue::texts(category->faces));

    const FaceFileReading reading = readFaceFile(faceFilePath);
    listing.faceFile = reading.state;
    listing.reason = reading.reason;
    const QList<QByteArrayView> lines = reading.lines();
    listing.faces.reserve(listing.faces.size() + lines.size());
    for (QByteArrayView line : lines) {
        QString face = CodePage932::decode(line);
        if (holdsLineBreak(face))
            ++listing.leftOut;
        else
            listing.faces.append(std::move(face));
    }
    return listing;
}
