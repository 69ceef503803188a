// SPDX-License-Identifier: MIT
// The face file on disk: its line rule and code page, what reading it finds, appending, the
// rewrite, and other copies of the program changing it at the same time. What only one system
// can arrange is in tst_facefile_posix.cpp and tst_facefile_win32.cpp.
#define DOCTEST_CONFIG_IMPLEMENT
#include "FaceFileTest.h"

#include "catalogue/BuiltinFaces.h"
#include "text/CodePage932.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <optional>

FaceFileTest::~FaceFileTest()
{
    setFaceFileObserver({});
    FileSystem::setDiskCallHook({});
}

std::filesystem::path FaceFileTest::pathIn(std::string_view situation) const
{
    std::error_code error;
    if (situation == "absent folder")
        return folder.filePath("gone/顔ファイル.dat");
    if (situation == "name too long")
        return folder.filePath(std::string(300, 'x'));
    if (situation == "folder" && !std::filesystem::create_directory(path, error))
        return {};
    return path;
}

Refusal FaceFileTest::change(std::string_view kind) const
{
    return kind == "remove" ? removeListedFace(path, 0, listingOf({"a", "b"}))
                            : appendFace(path, u"c");
}

std::vector<std::u16string> facesIn(const std::filesystem::path &path)
{
    FaceFileReading reading = readFaceFile(path);
    if (reading.state() == FaceFileReading::State::Absent)
        return {u"<absent>"};
    if (reading.state() == FaceFileReading::State::Unreadable)
        return {u"<unreadable: " + reading.reason() + u">"};
    return std::move(reading).faces();
}

FaceFileReading listingOf(const std::vector<std::string> &lines)
{
    std::string content;
    for (const std::string &line : lines)
        content += line + "\r\n";
    return FaceFileReading::of(content);
}

bool backdate(const std::filesystem::path &path)
{
    std::error_code error;
    std::filesystem::last_write_time(
        path, std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 365 * 20),
        error);
    return !error;
}

std::string fingerprint(const std::filesystem::path &path)
{
    std::error_code error;
    const auto written = std::filesystem::last_write_time(path, error);
    const std::optional<FileSystem::Fingerprint> identity = FileSystem::fingerprintOf(path);
    if (error || !identity)
        return "<absent>";
    std::string shown = std::to_string(written.time_since_epoch().count());
    for (std::uint64_t part : identity->identityAndTimes)
        shown += " " + std::to_string(part);
    return shown;
}

DiskCallRecorder::DiskCallRecorder()
{
    FileSystem::setDiskCallHook([this](FileSystem::DiskCall call) {
        const char *name = call == FileSystem::DiskCall::SyncFile     ? "sync file"
                           : call == FileSystem::DiskCall::SyncFolder ? "sync folder"
                                                                      : "rename";
        calls += (calls.empty() ? "" : ", ") + std::string(name);
        return failing == name ? error : 0;
    });
}

DiskCallRecorder::~DiskCallRecorder()
{
    FileSystem::setDiskCallHook({});
}

void checkFailedDiskCall(const FaceFileTest &test, const FailedDiskCall &row)
{
    REQUIRE(writeBytes(test.path, "a\r\nb\r\n"));
    REQUIRE(backdate(test.path));
    const std::string untouched = fingerprint(test.path);
    DiskCallRecorder recorder;
    recorder.failing = row.failing;
    recorder.error = row.error;
    const bool remove = std::string_view(row.change) == "remove";
    CHECK(
        test.change(row.change) ==
        Refusal(FaceFileRefusal{remove ? Reason::NotRewritten : Reason::NotAppended, row.reason}));
    CHECK(readBytes(test.path) == "a\r\nb\r\n");
    if (remove)
        CHECK(fingerprint(test.path) == untouched);
    CHECK(fileNamesIn(test.folder.path()) == "顔ファイル.dat");
}

void checkSomethingHoldingOn(const FaceFileTest &test, const Holder &row)
{
    REQUIRE(writeBytes(test.path, "a\r\n"));
    ChildProcess other({row.scenario, utf8Of(test.path), "late"});
    REQUIRE(other.said("holding"));
    CHECK(appendFace(test.path, u"mine") ==
          Refusal(FaceFileRefusal{Reason::NotAppended, row.reason}));
    CHECK(removeListedFace(test.path, 0, listingOf({"a"})) ==
          Refusal(FaceFileRefusal{Reason::NotRewritten, row.reason}));
    CHECK(readBytes(test.path) == "a\r\n");
    other.tellToGoOn();
    CHECK(other.ending() == "done");
    CHECK(readBytes(test.path) == row.after);
}

void checkUnlockedWrite(const FaceFileTest &test, const UnlockedWrite &row)
{
    REQUIRE(writeBytes(test.path, "a\r\nb\r\nc\r\n"));
    int written = 0;
    setFaceFileObserver([&](FaceFileMoment moment) {
        if (moment == FaceFileMoment::AboutToReplace && written < row.writes)
            CHECK(row.write(test.path, ++written));
    });
    CHECK(removeListedFace(test.path, 1, listingOf({"a", "b", "c"})) == row.refusal);
    CHECK(readBytes(test.path) == row.after);
    CHECK(fileNamesIn(test.folder.path()) == "顔ファイル.dat");
}

TEST_CASE_FIXTURE(FaceFileTest, "lineRule")
{
    const struct {
        const char *name;
        std::string bytes;
        std::vector<std::u16string> lines;
    } rows[] = {
        {"empty file", "", {}},
        {"two faces, each with CR LF", "(^o^)\r\n(T_T)\r\n", {u"(^o^)", u"(T_T)"}},
        {"last line without a line end", "(^o^)\r\n(T_T)", {u"(^o^)", u"(T_T)"}},
        {"empty line in the middle", "a\r\n\r\nb\r\n", {u"a", u"", u"b"}},
        {"two line ends at the very end", "a\r\n\r\n", {u"a", u""}},
        {"only a line end", "\r\n", {u""}},
        {"blanks kept", "  \r\n (^^) \r\n", {u"  ", u" (^^) "}},
        {"lone LF is a character", "a\nb\nc\n", {u"a\nb\nc\n"}},
        {"lone CR ends a line", "a\rb\r", {u"a", u"b"}},
        {"CR CR LF", "a\r\r\nb", {u"a", u"", u"b"}},
        {"LF CR", "a\n\rb", {u"a\n", u"b"}},
        {"same face twice", "(^^)\r\n(^^)\r\n", {u"(^^)", u"(^^)"}},
        {"control characters kept",
         "(^^)\x7F\r\n(T_T)\x1A\x1C\r\n",
         {u"(^^)\u007F", u"(T_T)\u001A\u001C"}},
        {"very long line", std::string(100000, 'x') + "\r\n", {std::u16string(100000, u'x')}},
    };
    for (const auto &row : rows)
        SUBCASE(row.name)
        {
            REQUIRE(writeBytes(path, row.bytes));
            CHECK(facesIn(path) == row.lines);
        }
}

TEST_CASE_FIXTURE(FaceFileTest, "codePage932BothWays")
{
    const struct {
        const char *name;
        std::u16string text;
        std::string bytes;
    } rows[] = {
        {"ASCII backslash", u"\\(^_^ )", "\x5C(^_^ )"},
        {"full-width backslash, leading blank", u" ＼(^^＼)", " \x81\x5F(^^\x81\x5F)"},
        {"full-width tilde", u"～", "\x81\x60"},
        {"acute, times, arc", u"´×⌒", "\x81\x4C\x81\x7E\x81\xDC"},
        {"half-width katakana", u"｡ﾟ", "\xA1\xDF"},
        {"so, whose trail byte is 5C", u"ソ", "\x83\x5C"},
        {"ideographic space", u"\u3000", "\x81\x40"},
        {"control characters as Windows maps them", u"\u001A\u001C\u007F\t", "\x1A\x1C\x7F\t"},
    };
    for (const auto &row : rows)
        SUBCASE(row.name)
        {
            CHECK(CodePage932::encode(row.text) == row.bytes);
            CHECK(CodePage932::decode(row.bytes) == row.text);
            CHECK(CodePage932::unrepresentable(row.text).empty());
            CHECK(appendFace(path, row.text) == kDone);
            CHECK(readBytes(path) == row.bytes + "\r\n");
        }
}

TEST_CASE_FIXTURE(FaceFileTest, "invalidBytesBecomeReplacementCharacters")
{
    const struct {
        const char *name;
        std::string bytes;
        std::u16string text;
    } rows[] = {
        {"lone lead byte at the end", "ab\x81", u"ab\uFFFD"},
        {"lead byte before a blank", "\x81 x", u"\uFFFD x"},
        {"bytes never valid", "\x80\xA0\xFD\xFE\xFF", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"unassigned pair", "(\x85\x40)", u"(\uFFFD\uFFFD)"},
        {"good around bad", "\x82\xA0\xFF\x82\xA2", u"あ\uFFFDい"},
    };
    for (const auto &row : rows)
        SUBCASE(row.name)
        {
            CHECK(CodePage932::decode(row.bytes) == row.text);
            // In a file, every line still yields its entry.
            REQUIRE(writeBytes(path, "ok\r\n" + row.bytes + "\r\nok\r\n"));
            CHECK(facesIn(path) == std::vector<std::u16string>{u"ok", row.text, u"ok"});
        }
}

TEST_CASE("unrepresentableCharacters")
{
    CHECK(CodePage932::unrepresentable(u"(^o^)") == u"");
    CHECK(CodePage932::unrepresentable(u"(😀é😀)") == u"😀é");
    // These have code page 932 look-alikes, but would not read back as typed.
    CHECK(CodePage932::unrepresentable(u"¥〜‾") == u"¥‾");
}

TEST_CASE_FIXTURE(FaceFileTest, "readingTellsAbsentFromUnreadable")
{
    const struct {
        const char *name;
        const char *situation;
        std::u16string found;
    } rows[] = {
        {"absent file", "absent file", u"<absent>"},
        {"absent folder", "absent folder", u"<absent>"},
        {"a folder in its place", "folder", u"<unreadable: " + kNotAFile + u">"},
    };
    for (const auto &row : rows)
        SUBCASE(row.name)
        {
            const std::filesystem::path arranged = pathIn(row.situation);
            REQUIRE(!arranged.empty());
            CHECK(facesIn(arranged) == std::vector{row.found});
        }
}

TEST_CASE_FIXTURE(FaceFileTest, "linesStopAtTheLimit")
{
    REQUIRE(writeBytes(path, numberedLines(1, 600)));
    const std::vector<std::u16string> first = readFaceFile(path, 501).faces();
    REQUIRE(first.size() == 501);
    CHECK(first.back() == u"face 501");
    CHECK(readFaceFile(path).faces().size() == 600);
}

TEST_CASE_FIXTURE(FaceFileTest, "appendKeepsEveryByteAlreadyThere")
{
    const struct {
        const char *name;
        std::string before;
        std::string after;
        std::vector<std::u16string> faces;
    } rows[] = {
        {"absent file", "<absent>", "zz\r\n", {u"zz"}},
        {"empty file", "", "zz\r\n", {u"zz"}},
        {"ended by CR LF", "a\r\n", "a\r\nzz\r\n", {u"a", u"zz"}},
        {"no final line end", "(^_^)\r\nabc", "(^_^)\r\nabc\r\nzz\r\n", {u"(^_^)", u"abc", u"zz"}},
        {"unfinished double-byte character at the end",
         "abc\x81",
         "abc\x81\r\nzz\r\n",
         {u"abc\uFFFD", u"zz"}},
        {"lines ended by LF alone", "a\nb\n", "a\nb\n\r\nzz\r\n", {u"a\nb\n", u"zz"}},
        {"ended by a lone CR", "a\r", "a\rzz\r\n", {u"a", u"zz"}},
        {"one byte, not a line end", "x", "x\r\nzz\r\n", {u"x", u"zz"}},
        {"stray bytes last",
         "ok\r\n\xFF\xFE",
         "ok\r\n\xFF\xFE\r\nzz\r\n",
         {u"ok", u"\uFFFD\uFFFD", u"zz"}},
    };
    for (const auto &row : rows)
        SUBCASE(row.name)
        {
            const bool absent = row.before == "<absent>";
            if (!absent)
                REQUIRE(writeBytes(path, row.before));
            const std::vector<std::u16string> facesBefore =
                absent ? std::vector<std::u16string>{} : facesIn(path);
            CHECK(appendFace(path, u"zz") == kDone);
            CHECK(readBytes(path) == row.after);
            const std::vector<std::u16string> faces = facesIn(path);
            CHECK(faces == row.faces);
            // Every face that was there reads back as before, the new one after them.
            REQUIRE(faces.size() >= facesBefore.size());
            CHECK(std::vector(faces.begin(), faces.begin() + std::ptrdiff_t(facesBefore.size())) ==
                  facesBefore);
        }
}

TEST_CASE_FIXTURE(FaceFileTest, "appendRefusesWhatTheFileCannotHold")
{
    const Refusal lineBreak = FaceFileRefusal{Reason::LineBreak, {}};
    const struct {
        const char *name;
        std::u16string face;
        Refusal refusal;
    } rows[] = {
        {"empty", u"", FaceFileRefusal{Reason::EmptyFace, {}}},
        {"CR", u"ab\rcd", lineBreak},
        {"CR LF", u"ab\r\ncd", lineBreak},
        {"LF", u"ab\ncd", lineBreak},
        {"line end last", u"ab\r\n", lineBreak},
        {"not code page 932", u"(😀)", FaceFileRefusal{Reason::Unrepresentable, u"😀"}},
    };
    for (const auto &row : rows)
        SUBCASE(row.name)
        {
            CHECK(refusalOfFace(row.face) == row.refusal);
            REQUIRE(writeBytes(path, "a\r\n"));
            CHECK(appendFace(path, row.face) == row.refusal);
            CHECK(readBytes(path) == "a\r\n");
        }
}

TEST_CASE_FIXTURE(FaceFileTest, "everyBuiltinFaceSurvivesTheFile")
{
    std::vector<std::u16string> faces;
    for (const Catalogue::Category *category : Catalogue::kCategories)
        faces.insert(faces.end(), category->faces.begin(), category->faces.end());
    REQUIRE(faces.size() == 125);
    std::string expected;
    for (const std::u16string &face : faces) {
        INFO(utf8(face));
        CHECK(appendFace(path, face) == kDone);
        expected += CodePage932::encode(face) + "\r\n";
    }
    CHECK(facesIn(path) == faces);
    CHECK(readBytes(path) == expected);
}

TEST_CASE_FIXTURE(FaceFileTest, "failedAppendsSayWhyAndChangeNothing")
{
    REQUIRE(!pathIn("folder").empty());
    CHECK(appendFace(path, u"(^^)") == Refusal(FaceFileRefusal{Reason::NotAppended, kNotAFile}));
    CHECK(fileNamesIn(folder.path()) == "顔ファイル.dat");
}

// Another program, which takes no lock, changes the file while the append waits for its turn:
// the new face still goes after the file's last line as it is then.
TEST_CASE_FIXTURE(FaceFileTest, "appendAfterAnotherProgramChangedTheFile")
{
    const struct {
        const char *name;
        std::string before;
        std::string changedTo;
        std::string after;
    } rows[] = {
        {"cut short to ended lines", "a\r\nbcd", "a\r\n", "a\r\nn\r\n"},
        {"cut short to an unended line", "a\r\nbcd", "a\r\nb", "a\r\nb\r\nn\r\n"},
        {"cut short to nothing", "a\r\nbcd", "", "n\r\n"},
        {"an unended face appended to an empty file", "", "zz", "zz\r\nn\r\n"},
        {"the unended last line ended", "a", "a\r\n", "a\r\nn\r\n"},
    };
    for (const auto &row : rows)
        SUBCASE(row.name)
        {
            REQUIRE(writeBytes(path, row.before));
            setFaceFileObserver([&](FaceFileMoment moment) {
                if (moment == FaceFileMoment::AboutToAppend)
                    CHECK(writeBytes(path, row.changedTo));
            });
            CHECK(appendFace(path, u"n") == kDone);
            CHECK(readBytes(path) == row.after);
        }
}

TEST_CASE_FIXTURE(FaceFileTest, "rewrite")
{
    const std::string three = "a\r\nb\r\nc\r\n";
    const std::vector<std::string> abc{"a", "b", "c"};
    const std::vector<std::string> invalidThenB{"\x81\xFF", "b"};
    const Refusal notListed = FaceFileRefusal{Reason::NotListed, {}};
    const Refusal changed = FaceFileRefusal{Reason::Changed, {}};
    const struct {
        const char *name;
        std::string content;
        int index; // a negative one names no listed face either
        std::vector<std::string> listed;
        Refusal refusal;
        std::string after;
    } rows[] = {
        {"middle", three, 1, abc, kDone, "a\r\nc\r\n"},
        {"first", three, 0, abc, kDone, "b\r\nc\r\n"},
        {"last", three, 2, abc, kDone, "a\r\nb\r\n"},
        {"the only face, leaving an empty file", "a\r\n", 0, {"a"}, kDone, ""},
        {"index -1 is not listed", three, -1, abc, notListed, three},
        {"index 3 is not listed", three, 3, abc, notListed, three},
        {"index -2 is not listed", three, -2, abc, notListed, three},
        {"index 11 is not listed", three, 11, abc, notListed, three},
        {"any number of an empty list", "", 0, {}, notListed, ""},
        {"changed since listed", "a\r\nX\r\nc\r\n", 1, abc, changed, "a\r\nX\r\nc\r\n"},
        {"shorter since listed", "a\r\n", 1, abc, changed, "a\r\n"},
        {"lines added since listed", "a\r\nb\r\nc\r\nnew\r\n", 1, abc, kDone, "a\r\nc\r\nnew\r\n"},
        {"other line ends kept as stored", "a\rb\r\nc\nd", 1, {"a", "b", "c\nd"}, kDone, "a\rc\nd"},
        {"lone CR before a face that begins with LF",
         "x\ra\r\n\nb\r\n",
         1,
         {"x", "a", "\nb"},
         kDone,
         "x\r\n\nb\r\n"},
        {"bytes that are not code page 932",
         "\x81\xFF\r\nb\r\n\x85\x40\r\n",
         1,
         {"\x81\xFF", "b", "\x85\x40"},
         kDone,
         "\x81\xFF\r\n\x85\x40\r\n"},
        // Such bytes read as U+FFFD: only the bytes tell the listed face from another one.
        {"the listed bytes that are not code page 932", "\x81\xFF\r\nb\r\n", 0, invalidThenB, kDone,
         "b\r\n"},
        {"other bytes that read the same", "\x81\xFE\r\nb\r\n", 0, invalidThenB, changed,
         "\x81\xFE\r\nb\r\n"},
    };
    for (const auto &row : rows)
        SUBCASE(row.name)
        {
            REQUIRE(writeBytes(path, row.content));
            REQUIRE(backdate(path));
            const std::string before = fingerprint(path);
            CHECK(removeListedFace(path, std::size_t(row.index), listingOf(row.listed)) ==
                  row.refusal);
            CHECK(readBytes(path) == row.after);
            // When nothing is deleted, the file is not even touched.
            if (row.refusal)
                CHECK(fingerprint(path) == before);
            CHECK(fileNamesIn(folder.path()) == "顔ファイル.dat");
        }
}

TEST_CASE_FIXTURE(FaceFileTest, "absentFileStaysAbsent")
{
    CHECK(removeListedFace(path, 0, listingOf({})) ==
          Refusal(FaceFileRefusal{Reason::NotListed, {}}));
    CHECK(removeListedFace(path, 0, listingOf({"a"})) ==
          Refusal(FaceFileRefusal{Reason::Changed, {}}));
    CHECK(!std::filesystem::exists(path));
}

TEST_CASE_FIXTURE(FaceFileTest, "linesPastTheListedOnesStay")
{
    const FaceFileReading listed = FaceFileReading::of(numberedLines(1, 600), 501);
    REQUIRE(writeBytes(path, numberedLines(1, 600)));
    CHECK(removeListedFace(path, 2, listed) == kDone);
    CHECK(readBytes(path) == numberedLines(1, 2) + numberedLines(4, 600));
    REQUIRE(writeBytes(path, numberedLines(1, 600)));
    CHECK(removeListedFace(path, 500, listed) == kDone);
    CHECK(readBytes(path) == numberedLines(1, 500) + numberedLines(502, 600));
}

TEST_CASE_FIXTURE(FaceFileTest, "failedRewriteLeavesTheFileAsItWas")
{
    REQUIRE(!pathIn("folder").empty());
    CHECK(removeListedFace(path, 0, listingOf({"a", "b"})) ==
          Refusal(FaceFileRefusal{Reason::NotRewritten, kNotAFile}));
    CHECK(fileNamesIn(folder.path()) == "顔ファイル.dat");
}

// A program that takes no lock, such as `echo >>` or a file-sync tool, appends while a rewrite
// is under way: its lines are never undone by the rename. The rewrite starts again from the
// file as it is then, and gives up after a few tries.
TEST_CASE_FIXTURE(FaceFileTest, "unlockedAppendDuringARewriteIsKept")
{
    const auto appendExtra = [](const std::filesystem::path &file, int time) {
        return appendBytes(file, "EXTRA " + std::to_string(time) + "\r\n");
    };
    const UnlockedWrite rows[] = {
        {"once", appendExtra, 1, kDone, "a\r\nc\r\nEXTRA 1\r\n"},
        {"at every try", appendExtra, 1000, FaceFileRefusal{Reason::Changed, {}},
         "a\r\nb\r\nc\r\nEXTRA 1\r\nEXTRA 2\r\nEXTRA 3\r\n"},
    };
    for (const UnlockedWrite &row : rows)
        SUBCASE(row.name)
        {
            checkUnlockedWrite(*this, row);
        }
}

TEST_CASE_FIXTURE(FaceFileTest, "changesReachTheDiskInOrder")
{
    // Where the new file's name must reach the disk too, each system says.
    REQUIRE(writeBytes(path, "a\r\nb\r\n"));
    DiskCallRecorder recorder;
    CHECK(change("append") == kDone);
    CHECK(recorder.calls == "sync file");
}

// A rewrite that has read the file and not yet put the new one in place, when another copy
// appends: the append waits, then goes to the new file.
TEST_CASE_FIXTURE(FaceFileTest, "appendDuringARewriteIsKept")
{
    REQUIRE(writeBytes(path, "a\r\nb\r\nc\r\n"));
    std::unique_ptr<ChildProcess> other;
    bool otherWaited = false;
    setFaceFileObserver([&](FaceFileMoment moment) {
        if (moment != FaceFileMoment::AboutToReplace)
            return;
        other =
            std::make_unique<ChildProcess>(std::vector<std::string>{"append", utf8Of(path), "new"});
        otherWaited = other->said("waiting");
    });
    CHECK(removeListedFace(path, 1, listingOf({"a", "b", "c"})) == kDone);
    REQUIRE(other);
    CHECK(otherWaited);
    CHECK(other->ending() == "done");
    CHECK(readBytes(path) == "a\r\nc\r\nnew\r\n");
}

// An append under way when a rewrite starts: the rewrite waits, then reads the face too.
TEST_CASE_FIXTURE(FaceFileTest, "rewriteDuringAnAppendKeepsTheFace")
{
    REQUIRE(writeBytes(path, "a\r\nb\r\nc\r\n"));
    ChildProcess other({"append-held", utf8Of(path), "new"});
    REQUIRE(other.said("holding"));
    bool waited = false;
    setFaceFileObserver([&](FaceFileMoment moment) {
        if (moment == FaceFileMoment::WaitingForLock && !waited) {
            waited = true;
            other.tellToGoOn();
        }
    });
    CHECK(removeListedFace(path, 1, listingOf({"a", "b", "c"})) == kDone);
    CHECK(waited);
    CHECK(other.ending() == "done");
    CHECK(readBytes(path) == "a\r\nc\r\nnew\r\n");
}

// Only a holder known to be another copy is named as one.
TEST_CASE_FIXTURE(FaceFileTest, "somethingHoldingOnIsReported")
{
    checkSomethingHoldingOn(
        *this, {"another copy", "append-held",
                u"ほかのピコラ３が顔ファイルを使っています。少し待ってから、もう一度お試しください",
                "a\r\nlate\r\n"});
}

// A copy that has just let go of the file cannot take it again before one that was waiting,
// however briefly each holds it. The waiting copy is stopped while it holds its place in line,
// so that only that place can keep this one from passing it.
TEST_CASE_FIXTURE(FaceFileTest, "aWaitingCopyIsNotPassedOver")
{
    REQUIRE(writeBytes(path, "x\r\n"));
    std::unique_ptr<ChildProcess> other;
    setFaceFileObserver([&](FaceFileMoment moment) {
        if (moment == FaceFileMoment::AboutToAppend && !other) {
            other = std::make_unique<ChildProcess>(
                std::vector<std::string>{"append", utf8Of(path), "other"});
            CHECK(other->said("waiting"));
            other->stop();
        } else if (moment == FaceFileMoment::WaitingForLock && other) {
            other->resume();
        }
    });
    CHECK(appendFace(path, u"mine 1") == kDone);
    CHECK(appendFace(path, u"mine 2") == kDone);
    REQUIRE(other);
    other->resume();
    CHECK(other->ending() == "done");
    CHECK(readBytes(path) == "x\r\nmine 1\r\nother\r\nmine 2\r\n");
}

TEST_CASE_FIXTURE(FaceFileTest, "copiesRegisteringAtOnceLoseNothing")
{
    // Unended by hand: exactly one line end goes in before the first new face.
    REQUIRE(writeBytes(path, "x"));
    constexpr int kCopies = 3;
    constexpr int kFaces = 100;
    std::vector<std::unique_ptr<ChildProcess>> copies;
    for (int copy = 0; copy < kCopies; ++copy)
        copies.push_back(std::make_unique<ChildProcess>(std::vector<std::string>{
            "append-many", utf8Of(path), "copy" + std::to_string(copy), std::to_string(kFaces)}));
    for (auto &copy : copies)
        CHECK(copy->ending() == "done");
    const std::vector<std::u16string> faces = facesIn(path);
    REQUIRE(faces.size() == 1 + kCopies * kFaces);
    CHECK(faces.front() == u"x");
    for (int copy = 0; copy < kCopies; ++copy) {
        const std::u16string name = fromUtf8("copy" + std::to_string(copy) + " ");
        std::vector<std::u16string> own;
        for (const std::u16string &face : faces)
            if (face.starts_with(name))
                own.push_back(face);
        std::vector<std::u16string> expected;
        for (int n = 1; n <= kFaces; ++n)
            expected.push_back(name + fromUtf8(std::to_string(n)));
        CHECK(own == expected);
    }
}

namespace {

std::map<std::string, ChildScenario> &systemScenarios()
{
    static std::map<std::string, ChildScenario> scenarios;
    return scenarios;
}

// The other copy's side: appends faces and says how it went.
int otherCopy(const std::vector<std::string> &arguments)
{
    const std::string scenario = arguments.at(0);
    if (const auto own = systemScenarios().find(scenario); own != systemScenarios().end())
        return own->second(arguments);
    const std::filesystem::path path = pathOf(arguments.at(1));
    setFaceFileObserver([&](FaceFileMoment moment) {
        if (moment == FaceFileMoment::WaitingForLock) {
            say("waiting");
        } else if (moment == FaceFileMoment::AboutToAppend && scenario == "append-held") {
            say("holding");
            awaitGoOn();
        }
    });
    // A count after the face numbers the faces.
    const int count = arguments.size() > 3 ? std::stoi(arguments[3]) : 1;
    for (int n = 1; n <= count; ++n) {
        const std::string face =
            arguments.size() > 3 ? arguments.at(2) + " " + std::to_string(n) : arguments.at(2);
        if (const Refusal refusal = appendFace(path, fromUtf8(face))) {
            say(("failed: " + utf8(refusal->detail)).c_str());
            return 0;
        }
    }
    say("done");
    return 0;
}

} // namespace

bool addChildScenario(const std::string &name, ChildScenario scenario)
{
    return systemScenarios().emplace(name, scenario).second;
}

void say(const char *line)
{
    std::printf("%s\n", line);
    std::fflush(stdout);
}

void awaitGoOn()
{
    std::string line;
    std::getline(std::cin, line);
}

int main(int argc, char **argv)
{
    return runTestsOrChild(argc, argv, otherCopy);
}
