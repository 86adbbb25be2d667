#pragma once

#include "Zor.Data.h"
#include "Zor.RtlExport.h"

#include <QString>
#include <QStringDecoder>

#include <cstdint>
#include <memory>
#include <vector>

class QIODevice;

// Comma-separated values after RFC 4180, read as a stream: a reader holds one block of text and
// one record at a time, so a file of any length is walked in the same memory.
//
// Fields are split at the separator; a field that starts with the quote character runs to the
// matching quote, and may hold separators and line breaks; a doubled quote inside it stands for
// one quote; text after the closing quote is an error. Lines end with CR LF, LF or CR; lines
// without any character are skipped. The text is UTF-8, with or without a byte-order mark;
// bytes that are not UTF-8 are an error. A record has at most zor::MaxDataFields fields.

// Separator and quote codes as the label stores them.
enum class TZORCsvSeparator : uint8_t { None = 0, Semicolon = 1, Comma = 2, Tab = 3, Space = 4 };
enum class TZORCsvQuote : uint8_t { None = 0, Single = 1, Double = 2 };

struct QUINDLE_RTL_EXPORT TZORCsvSettings {
    QString fileName;
    bool header = true; // the first record names the fields
    TZORCsvSeparator separator = TZORCsvSeparator::Semicolon;
    TZORCsvQuote quote = TZORCsvQuote::Double;
};

class QUINDLE_RTL_EXPORT TZORCsvReader {
public:
    // The longest record accepted, in characters: a quote left open in a large file ends in a
    // clear error instead of the whole file held as one field.
    static constexpr int64_t MaxRecordChars = 16 * 1024 * 1024;

    // Reads the device from its position; the device stays the caller's. name labels errors.
    TZORCsvReader(QIODevice* device, TZORCsvSeparator separator, TZORCsvQuote quote, const QString& name);

    // The next record; false at the end of the text. Raises EZORError, naming the line, for a
    // quote left open, text after a closing quote, text that is not UTF-8, and for a record
    // too long or of too many fields.
    bool ReadRecord(std::vector<QString>& fields);
    // The line on which the record last read begins, from 1.
    int64_t Line() const { return fRecordLine; }

private:
    // The character at the read position, -1 at the end of the text.
    int Peek();
    void Advance() { ++fPos; }
    bool AtLineEnd(int c) const { return c == '\n' || c == '\r'; }
    // Consumes a line end (CR LF counts as one).
    void SkipLineEnd();
    void ReadQuoted(QString& field);
    void ReadPlain(QString& field);
    void Grow(qsizetype chars);
    [[noreturn]] void RefuseInvalidText() const;

    QIODevice* fDevice;
    QStringDecoder fDecoder;
    QString fText;
    qsizetype fPos = 0;
    int fSeparator; // -1: none
    int fQuote; // -1: none
    QString fName;
    int64_t fLine = 1;
    int64_t fRecordLine = 0;
    int64_t fRecordChars = 0;
};

// A CSV file as a data set. Each cursor opens the file anew, so cursors walk independently.
// The values of a record come in the order of the data set's fields, matched by name to the
// file's columns; a record whose number of fields differs from the header raises EZORError.
class QUINDLE_RTL_EXPORT TZORCsvDataSet : public IZORDataSet {
public:
    TZORCsvDataSet(TZORCsvSettings settings, TZORDataFields fields);

    // Reads the whole file once, checking every record: its fields, typed by what their values
    // hold (whole numbers Integer or Int64, numbers Float, true and false Boolean, else String).
    // Raises EZORError for a file that cannot be read, has no fields or is malformed.
    static TZORDataFields Scan(const TZORCsvSettings& settings);

    TZORDataFields Fields() const override { return fFields; }
    std::unique_ptr<IZORRecordCursor> Open() const override;

private:
    TZORCsvSettings fSettings;
    TZORDataFields fFields;
};
