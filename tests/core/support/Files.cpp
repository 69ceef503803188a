// SPDX-License-Identifier: MIT
#include "support/Files.h"

#include "support/Text.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <vector>

TempFolder::TempFolder()
{
    std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<int> digit(0, 35);
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (;;) {
        std::string name = "picora3-test-";
        for (int i = 0; i < 8; ++i)
            name += "0123456789abcdefghijklmnopqrstuvwxyz"[digit(random)];
        path_ = base / name;
        if (std::filesystem::create_directory(path_))
            return;
    }
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TempFolder::filePath(std::string_view utf8Name) const
{
    return path_ / pathOf(utf8Name);
}

void TempFolder::empty() const
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
    std::filesystem::create_directory(path_, ignored);
}

std::string readBytes(const std::filesystem::path &path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file || std::filesystem::is_directory(path))
        return "<absent>";
    return std::string(std::istreambuf_iterator<char>(file), {});
}

bool writeBytes(const std::filesystem::path &path, std::string_view bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(file.flush());
}

bool appendBytes(const std::filesystem::path &path, std::string_view bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::app);
    file.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(file.flush());
}

std::string numberedLines(int from, int to)
{
    std::string bytes;
    for (int n = from; n <= to; ++n)
        bytes += "face " + std::to_string(n) + "\r\n";
    return bytes;
}

std::string fileNamesIn(const std::filesystem::path &folder)
{
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(folder))
        names.push_back(utf8Of(entry.path().filename()));
    std::sort(names.begin(), names.end());
    std::string list;
    for (const std::string &name : names)
        list += (list.empty() ? "" : " ") + name;
    return list;
}
