// SPDX-License-Identifier: MIT
// The face file as Windows has it: other programs hold files open and say what they share,
// a file may be marked read-only, and paths may be longer than 260 characters.
#include "FaceFileTest.h"

#include <windows.h>

namespace {

// Another program holding the face file open, sharing only what it says, for as long as this
// lives.
class HeldOpen {
public:
    HeldOpen(const std::filesystem::path &path, DWORD sharing)
        : handle_(CreateFileW(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr))
    {
    }
    ~HeldOpen() { CloseHandle(handle_); }
    HeldOpen(const HeldOpen &) = delete;
    HeldOpen &operator=(const HeldOpen &) = delete;

    bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

// The names in a folder too deep for the standard library, which lists folders by their short
// form only.
std::vector<std::wstring> namesIn(const std::filesystem::path &folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((LR"(\\?\)" + folder.native() + L"\\*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found))
        names.push_back(found.cFileName);
    FindClose(search);
    return names;
}

const std::u16string kInUse =
    u"ほかのプログラムが顔ファイルを使っています。少し待ってから、もう一度お試しください";

} // namespace

// A program that shares reading and writing but not deleting (an editor, a virus scanner)
// keeps the old file in its place: the deletion says so after a moment, and nothing changes.
// One that shares only reading keeps registering and deleting out alike. Sharing everything,
// as an indexer does, stops nothing.
TEST_CASE_FIXTURE(FaceFileTest, "anotherProgramHoldingTheFileOpen")
{
    const struct {
        const char *name;
        DWORD sharing;
        Refusal appended;
        Refusal removed;
        std::string after;
    } rows[] = {
        {"sharing reading and writing", FILE_SHARE_READ | FILE_SHARE_WRITE, kDone,
         FaceFileRefusal{Reason::NotRewritten, kInUse + u"（ERROR_SHARING_VIOLATION）"},
         "a\r\nb\r\nc\r\n"},
        {"sharing reading only", FILE_SHARE_READ, FaceFileRefusal{Reason::NotAppended, kInUse},
         FaceFileRefusal{Reason::NotRewritten, kInUse}, "a\r\nb\r\n"},
        {"sharing everything", FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, kDone, kDone,
         "b\r\nc\r\n"},
    };
    for (const auto &row : rows) {
        SUBCASE(row.name)
        {
            REQUIRE(writeBytes(path, "a\r\nb\r\n"));
            {
                const HeldOpen other(path, row.sharing);
                REQUIRE(other.held());
                CHECK(appendFace(path, u"c") == row.appended);
                const std::vector<std::string> listed =
                    row.appended ? std::vector<std::string>{"a", "b"}
                                 : std::vector<std::string>{"a", "b", "c"};
                CHECK(removeListedFace(path, 0, listingOf(listed)) == row.removed);
                CHECK(readBytes(path) == row.after);
            }
            // The old file, which the other program still had, goes when it lets go.
            CHECK(fileNamesIn(folder.path()) == "顔ファイル.dat");
        }
    }
}

// A file the user marked read-only is neither appended to nor replaced, and still read.
TEST_CASE_FIXTURE(FaceFileTest, "aReadOnlyFileStaysAsItIs")
{
    REQUIRE(writeBytes(path, "a\r\nb\r\n"));
    REQUIRE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    const FaceFileRefusal notAllowed{Reason::NotAppended, kNotAllowed + u"（ERROR_ACCESS_DENIED）"};
    CHECK(appendFace(path, u"c") == Refusal(notAllowed));
    CHECK(removeListedFace(path, 0, listingOf({"a", "b"})) ==
          Refusal(FaceFileRefusal{Reason::NotRewritten, notAllowed.detail}));
    CHECK(facesIn(path) == std::vector<std::u16string>{u"a", u"b"});
    CHECK(readBytes(path) == "a\r\nb\r\n");
    CHECK((GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY) != 0);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Documents folders deep in a profile or a synced folder go past the 260 characters that
// Windows' calls took for a path: registering, reading and deleting all work there.
TEST_CASE_FIXTURE(FaceFileTest, "aPathLongerThan260Characters")
{
    std::filesystem::path deep = folder.path();
    for (int level = 0; level < 6; ++level)
        deep /= std::string(50, char('a' + level));
    REQUIRE(std::filesystem::create_directories(deep));
    const std::filesystem::path longPath = deep / pathOf("顔ファイル.dat");
    REQUIRE(longPath.native().size() > 300);
    CHECK(appendFace(longPath, u"(^o^)") == kDone);
    CHECK(appendFace(longPath, u"(T_T)") == kDone);
    CHECK(facesIn(longPath) == std::vector<std::u16string>{u"(^o^)", u"(T_T)"});
    CHECK(removeListedFace(longPath, 0, listingOf({"(^o^)", "(T_T)"})) == kDone);
    CHECK(facesIn(longPath) == std::vector<std::u16string>{u"(T_T)"});
    CHECK(namesIn(deep) == std::vector<std::wstring>{L".", L"..", L"顔ファイル.dat"});
}
