// SPDX-License-Identifier: MIT
#include "catalogue/FaceListing.h"

#include "catalogue/BuiltinFaces.h"

FaceListing listEveryFace(const FileSystem::Path &faceFilePath)
{
    FaceListing listing;
    for (const Catalogue::Category *category : Catalogue::kCategories)
        listing.faces.insert(listing.faces.end(), category->faces.begin(), category->faces.end());

    FaceFileReading reading = readFaceFile(faceFilePath);
    listing.faceFile = reading.state();
    listing.reason = reading.reason();
    std::vector<std::u16string> registered = std::move(reading).faces();
    listing.faces.reserve(listing.faces.size() + registered.size());
    for (std::u16string &face : registered) {
        if (holdsLineBreak(face))
            ++listing.leftOut;
        else
            listing.faces.push_back(std::move(face));
    }
    return listing;
}
