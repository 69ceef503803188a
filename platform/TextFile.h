// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

// File bytes are lines: CR, or CR LF, ends a line; a lone LF is an ordinary character; the
// end of the data ends the last line, and a line end at the very end starts no further line.
QList<QByteArrayView> splitLines(QByteArrayView bytes);

// The same lines with their line ends as stored (none after an unended last line), so that
// putting them together again gives back the bytes exactly.
QList<QByteArrayView> splitStoredLines(QByteArrayView bytes);

// A line-oriented text file in code page 932. Only one may be open at a time in the program;
// every operation says whether it succeeded, and errorString() says why not.
class TextFile {
public:
    TextFile() = default;
    ~TextFile();
    TextFile(const TextFile &) = delete;
    TextFile &operator=(const TextFile &) = delete;

    // Fails when the file is absent, is no regular file, or cannot be read.
    bool openForInput(const QString &path);
    // Creates the file when absent; writes go after its end.
    bool openForAppend(const QString &path);
    void close();

    bool atEnd() const;
    // The next line without its line end, decoded; and the same line's bytes as stored.
    bool readLine(QString &text);
    bool readLine(QString &text, QByteArray &bytes);

    // Writes the text and CR LF, all or nothing: a line that cannot be written whole leaves
    // the file as it was.
    bool writeLine(const QString &text);

    QString errorString() const { return error_; }

private:
    enum class Mode { Closed, Input, Append };

    bool claim(const QString &path);
    bool fail(const QString &reason);
    bool takeLine(QByteArrayView &line);

    Mode mode_ = Mode::Closed;
    QFile file_;
    // A file open for input is read whole at opening; next_ is where the next line starts.
    QByteArray content_;
    qsizetype next_ = 0;
    QString error_;
};
