// SPDX-License-Identifier: MIT
// Code page 932 converts the same on every system the program runs on: a face file written on
// Linux reads the same on Windows, and the other way round. Each system's converter goes
// through the whole table, and the table's digest must be the one below on both.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include "text/CodePage932.h"

#include <doctest.h>

#include <cstdint>
#include <iomanip>
#include <sstream>
#include <string>

namespace {

// FNV-1a over 64 bits: plain to write down on any system, and every byte counts.
class Digest {
public:
    void add(std::string_view bytes)
    {
        addLength(bytes.size());
        for (char b : bytes)
            addByte(static_cast<unsigned char>(b));
    }
    void add(std::u16string_view text)
    {
        addLength(text.size());
        for (char16_t c : text) {
            addByte(static_cast<unsigned char>(c & 0xFF));
            addByte(static_cast<unsigned char>(c >> 8));
        }
    }
    std::string hex() const
    {
        std::ostringstream out;
        out << std::hex << std::setw(16) << std::setfill('0') << value_;
        return out.str();
    }

private:
    void addByte(unsigned char b)
    {
        value_ ^= b;
        value_ *= 0x100000001B3u;
    }
    // Each entry is told from the next by its length, so that no two tables give one stream.
    void addLength(std::size_t length)
    {
        for (int shift = 0; shift < 32; shift += 8)
            addByte(static_cast<unsigned char>(length >> shift));
    }

    std::uint64_t value_ = 0xCBF29CE484222325u;
};

// Every single byte and every lead and trail byte pair as read; every character of the Basic
// Multilingual Plane as written, or refused.
std::string tableDigest()
{
    Digest digest;
    for (unsigned byte = 0; byte < 0x100; ++byte)
        digest.add(CodePage932::decode(std::string(1, char(byte))));
    for (unsigned pair = 0; pair < 0x10000; ++pair)
        digest.add(CodePage932::decode(std::string{char(pair >> 8), char(pair & 0xFF)}));
    for (unsigned unit = 0; unit < 0x10000; ++unit) {
        const std::u16string character(1, char16_t(unit));
        if (CodePage932::unrepresentable(character).empty())
            digest.add(CodePage932::encode(character));
        else
            digest.add(std::string_view("refused"));
    }
    return digest.hex();
}

} // namespace

TEST_CASE("every byte pair and every character converts the same on every system")
{
    const std::string digest = tableDigest();
    MESSAGE("code page 932 table digest: " << digest);
    CHECK(digest == "f7ef7037fefa4598");
}
