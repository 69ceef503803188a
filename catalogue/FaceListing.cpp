// SPDX-License-Identifier: MIT
#include "catalogue/FaceListing.h"

#include "catalogue/BuiltinFaces.h"

FaceListing listEveryFace(const QString &faceFilePath)
{
    FaceListing listing;
    for (const Catalogue::Category *category : Catalogue::kCategories)
        listing.faces.append(Catalogue::texts(category->faces));

    FaceFileReading reading = readFaceFile(faceFilePath);
    listing.faceFile = reading.state;
    listing.reason = reading.reason;
    listing.faces.reserve(listing.faces.size() + reading.faces.size());
    for (QString &face : reading.faces) {
        if (holdsLineBreak(face))
            ++listing.leftOut;
        else
            listing.faces.append(std::move(face));
    }
    return listing;
}
