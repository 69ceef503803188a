// SPDX-License-Identifier: MIT
#include "TextFile.h"

#include "CodePage932.h"

#include <QFileInfo>

#include <cstring>

using namespace Qt::StringLiterals;

namespace {

bool anotherFileOpen = false;

// Takes the line that starts at `at`: its text, the same with its line end as stored, and
// where the next line starts.
struct Line {
    QByteArrayView text;
    QByteArrayView stored;
};

Line lineAt(QByteArrayView bytes, qsizetype at)
{
    const char *const start = bytes.data() + at;
    const char *const end = bytes.data() + bytes.size();
    const auto *cr = static_cast<const char *>(std::memchr(start, '\r', size_t(end - start)));
    if (!cr)
        return {QByteArrayView(start, end), QByteArrayView(start, end)};
    const char *next = cr + 1;
    if (next < end && *next == '\n')
        ++next;
    return {QByteArrayView(start, cr), QByteArrayView(start, next)};
}

template <class Take> QList<QByteArrayView> splitWith(QByteArrayView bytes, Take take)
{
    QList<QByteArrayView> lines;
    for (qsizetype at = 0; at < bytes.size();) {
        const Line line = lineAt(bytes, at);
        lines.append(take(line));
        at += line.stored.size();
    }
    return lines;
}

} // namespace

QList<QByteArrayView> splitLines(QByteArrayView bytes)
{
    return splitWith(bytes, [](const Line &line) { return line.text; });
}

QList<QByteArrayView> splitStoredLines(QByteArrayView bytes)
{
    return splitWith(bytes, [](const Line &line) { return line.stored; });
}

TextFile::~TextFile()
{
    close();
}

bool TextFile::fail(const QString &reason)
{
    error_ = reason;
    return false;
}

bool TextFile::claim(const QString &path)
{
    error_.clear();
    if (anotherFileOpen)
        return fail(u"another file is already open"_s);
    // A FIFO or a device would block the program, and a folder has no lines.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return fail(u"not a regular file"_s);
    file_.setFileName(path);
    return true;
}

bool TextFile::openForInput(const QString &path)
{
    if (!claim(path))
        return false;
    if (!file_.open(QIODevice::ReadOnly))
        return fail(file_.errorString());
    content_ = file_.readAll();
    const bool readWhole = file_.error() == QFileDevice::NoError;
    const QString reason = file_.errorString();
    file_.close();
    if (!readWhole) {
        content_.clear();
        return fail(reason);
    }
    next_ = 0;
    mode_ = Mode::Input;
    anotherFileOpen = true;
    return true;
}

bool TextFile::openForAppend(const QString &path)
{
    if (!claim(path))
        return false;
    // Unbuffered, so that a failed write leaves nothing behind to be written at closing.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return fail(file_.errorString());
    mode_ = Mode::Append;
    anotherFileOpen = true;
    return true;
}

void TextFile::close()
{
    if (mode_ == Mode::Closed)
        return;
    file_.close();
    content_.clear();
    mode_ = Mode::Closed;
    anotherFileOpen = false;
}

bool TextFile::atEnd() const
{
    return mode_ != Mode::Input || next_ >= content_.size();
}

bool TextFile::takeLine(QByteArrayView &line)
{
    if (atEnd())
        return fail(u"no line to read"_s);
    const Line taken = lineAt(content_, next_);
    next_ += taken.stored.size();
    line = taken.text;
    return true;
}

bool TextFile::readLine(QString &text)
{
    QByteArrayView line;
    if (!takeLine(line))
        return false;
    text = CodePage932::decode(line);
    return true;
}

bool TextFile::readLine(QString &text, QByteArray &bytes)
{
    QByteArrayView line;
    if (!takeLine(line))
        return false;
    bytes = line.toByteArray();
    text = CodePage932::decode(line);
    return true;
}

bool TextFile::writeLine(const QString &text)
{
    if (mode_ != Mode::Append)
        return fail(u"the file is not open for writing"_s);
    if (!CodePage932::unrepresentable(text).isEmpty())
        return fail(u"the text holds characters that code page 932 cannot hold"_s);
    const QByteArray line = CodePage932::encode(text) + "\r\n";
    const qint64 sizeBefore = file_.size();
    if (file_.write(line) == line.size())
        return true;
    const QString reason = file_.errorString();
    file_.resize(sizeBefore);
    return fail(reason);
}
