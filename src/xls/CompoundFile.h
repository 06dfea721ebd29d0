#pragma once

#include "xls/Bytes.h"

#include <cstdint>
#include <functional>

namespace xls {

// The container around the workbook stream: a compound file (version 3, 512-byte sectors)
// holding one stream, "Workbook". The stream is written first, straight after the header,
// so the file can be produced in one pass: header, stream, allocation tables, directory.
struct CompoundLayout
{
    std::uint64_t streamSize
        = 0; // declared size: padded, at least 4096 so no mini stream is needed
    std::uint32_t streamSectors = 0;
    std::uint32_t fatSectors = 0;
    std::uint32_t difatSectors = 0; // needed when more than 109 FAT sectors exist

    std::uint32_t directorySector() const { return streamSectors + fatSectors + difatSectors; }
};

constexpr std::size_t sectorSize = 512;

// Layout for a workbook stream of the given length (before padding).
CompoundLayout compoundLayout(std::uint64_t workbookStreamLength);

// The 512-byte header.
Bytes compoundHeader(const CompoundLayout &layout);

// Everything after the padded stream: allocation table, its extension, directory.
void writeCompoundTail(const CompoundLayout &layout,
                       const std::function<void(const std::uint8_t *, std::size_t)> &sink);

} // namespace xls
