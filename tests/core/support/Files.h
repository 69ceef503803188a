// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// A folder of the test's own, empty at the start and gone at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    const std::filesystem::path &path() const { return path_; }
    // A name in it, given in UTF-8.
    std::filesystem::path filePath(std::string_view utf8Name) const;
    // Empties it again, for the next case.
    void empty() const;

private:
    std::filesystem::path path_;
};

// A file's bytes, or "<absent>".
std::string readBytes(const std::filesystem::path &path);
// Whether the file now holds exactly the bytes; written in place, as an editor that keeps the
// file does.
[[nodiscard]] bool writeBytes(const std::filesystem::path &path, std::string_view bytes);
[[nodiscard]] bool appendBytes(const std::filesystem::path &path, std::string_view bytes);

// Faces "face 1" to "face N" from `from` to `to`, each with CR LF.
std::string numberedLines(int from, int to);

// The names of the files in the folder, sorted, in UTF-8.
std::string fileNamesIn(const std::filesystem::path &folder);
