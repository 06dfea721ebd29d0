#pragma once

#include <QString>
#include <stdexcept>

// The one error type of database and file operations: a number and a German description.
class DbError : public std::runtime_error
{
public:
    DbError(int number, const QString &description)
        : std::runtime_error(description.toStdString())
        , m_number(number)
        , m_description(description)
    {
    }
    int number() const { return m_number; }
    const QString &description() const { return m_description; }

private:
    int m_number;
    QString m_description;
};

// Every error number the program raises or tests for; they keep the numbers users of the old
// file know.
namespace ErrNo {
constexpr int OutOfMemory = 7;
constexpr int TypeMismatch = 13;
constexpr int FileNotFound = 53;
constexpr int FileExists = 58;
constexpr int NoSuchControlElement = 340;
constexpr int WindowUnloaded = 364;
constexpr int SqlError = 3000;
constexpr int UpdateWithoutEdit = 3020;
constexpr int NoCurrentRecord = 3021;
constexpr int RuleViolated = 3022;
constexpr int DatabaseNotFound = 3024;
constexpr int DiskFull = 3026;
constexpr int ReadOnly = 3027;
constexpr int DiskError = 3043;
constexpr int FileInUse = 3045;
constexpr int DatabaseCorrupt = 3049;
constexpr int CannotOpenFile = 3051;
constexpr int SearchSyntax = 3077;
constexpr int TextAfterStatement = 3142;
constexpr int InvalidBookmark = 3159;
constexpr int FieldNotUpdatable = 3164;
constexpr int RecordDeleted = 3167;
constexpr int RowChanged = 3197;
constexpr int Locked = 3260;
constexpr int NoSuchField = 3265;
constexpr int UnknownFormat = 3343;
} // namespace ErrNo
