#pragma once

#include <stdexcept>
#include <string>

namespace xls {

// Why writing a workbook failed; callers map it to their own error numbers.
enum class ErrorKind {
    FileExists, // the target is there already and stays untouched
    FolderMissing, // the target's folder does not exist
    AccessDenied, // no right to create a file in the folder
    DiskFull, // no space left (or the file would grow beyond what the system allows)
    WriteFailed, // any other input/output failure
    TooManyRows, // more rows than one worksheet holds
    TooManyColumns,
    TooLarge, // the workbook would exceed the size the format can address
    InvalidSheetName,
    InvalidUse // rows added after finish(), finish() twice
};

// A failure of the workbook writer; what() is a German description in UTF-8.
class Error : public std::runtime_error
{
public:
    Error(ErrorKind kind, const std::string &germanMessage)
        : std::runtime_error(germanMessage)
        , m_kind(kind)
    {
    }
    ErrorKind kind() const { return m_kind; }

private:
    ErrorKind m_kind;
};

} // namespace xls
