#include "xls/CompoundFile.h"

#include <algorithm>
#include <string_view>

namespace xls {

namespace {

constexpr std::uint32_t freeSector = 0xFFFFFFFF;
constexpr std::uint32_t endOfChain = 0xFFFFFFFE;
constexpr std::uint32_t fatSector = 0xFFFFFFFD;
constexpr std::uint32_t difatSector = 0xFFFFFFFC;
constexpr std::uint32_t noStream = 0xFFFFFFFF;

constexpr std::uint32_t entriesPerSector = sectorSize / 4; // 128
constexpr std::uint32_t headerDifatEntries = 109;
constexpr std::uint64_t miniStreamCutoff = 4096;

std::uint32_t ceilDiv(std::uint64_t a, std::uint64_t b)
{
    return static_cast<std::uint32_t>((a + b - 1) / b);
}

void directoryEntry(Bytes &out, std::u16string_view name, std::uint8_t type, std::uint32_t child,
                    std::uint32_t start, std::uint64_t size)
{
    Bytes entry;
    entry.chars(name, false);
    entry.zeros(64 - 2 * name.size());
    entry.u16(name.empty() ? 0 : static_cast<std::uint32_t>(2 * (name.size() + 1)));
    entry.u8(type);
    entry.u8(type == 0 ? 0 : 1); // black
    entry.u32(noStream); // left sibling
    entry.u32(noStream); // right sibling
    entry.u32(child);
    entry.zeros(16 + 4 + 8 + 8); // class id, state bits, creation and modification times
    entry.u32(start);
    entry.u32(static_cast<std::uint32_t>(size));
    entry.u32(0);
    out.append(entry);
}

} // namespace

CompoundLayout compoundLayout(std::uint64_t workbookStreamLength)
{
    CompoundLayout layout;
    layout.streamSize = std::max(miniStreamCutoff,
                                 (workbookStreamLength + sectorSize - 1) / sectorSize * sectorSize);
    layout.streamSectors = ceilDiv(layout.streamSize, sectorSize);
    // The tables cover themselves as well: iterate to the fixed point.
    for (;;) {
        const std::uint32_t total
            = layout.streamSectors + layout.fatSectors + layout.difatSectors + 1;
        const std::uint32_t fat = ceilDiv(total, entriesPerSector);
        const std::uint32_t difat = fat > headerDifatEntries
            ? ceilDiv(fat - headerDifatEntries, entriesPerSector - 1)
            : 0;
        if (fat == layout.fatSectors && difat == layout.difatSectors)
            return layout;
        layout.fatSectors = fat;
        layout.difatSectors = difat;
    }
}

Bytes compoundHeader(const CompoundLayout &layout)
{
    Bytes h;
    for (std::uint8_t b : { 0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1 })
        h.u8(b);
    h.zeros(16); // class id
    h.u16(0x003E); // minor version
    h.u16(0x0003); // major version: 512-byte sectors
    h.u16(0xFFFE); // byte order mark
    h.u16(9); // sector shift
    h.u16(6); // mini sector shift
    h.zeros(6);
    h.u32(0); // directory sectors: always 0 in version 3
    h.u32(layout.fatSectors);
    h.u32(layout.directorySector());
    h.u32(0); // transaction signature
    h.u32(static_cast<std::uint32_t>(miniStreamCutoff));
    h.u32(endOfChain); // no mini allocation table
    h.u32(0);
    h.u32(layout.difatSectors ? layout.streamSectors + layout.fatSectors : endOfChain);
    h.u32(layout.difatSectors);
    for (std::uint32_t i = 0; i < headerDifatEntries; ++i)
        h.u32(i < layout.fatSectors ? layout.streamSectors + i : freeSector);
    return h;
}

void writeCompoundTail(const CompoundLayout &layout,
                       const std::function<void(const std::uint8_t *, std::size_t)> &sink)
{
    const std::uint32_t firstFat = layout.streamSectors;
    const std::uint32_t firstDifat = firstFat + layout.fatSectors;
    const std::uint32_t directory = layout.directorySector();

    // Allocation table, one sector at a time.
    Bytes sector;
    sector.reserve(sectorSize);
    std::uint32_t n = 0;
    const std::uint32_t entries = layout.fatSectors * entriesPerSector;
    for (std::uint32_t i = 0; i < entries; ++i) {
        std::uint32_t value = freeSector;
        if (i < layout.streamSectors)
            value = i + 1 < layout.streamSectors ? i + 1 : endOfChain;
        else if (i < firstDifat)
            value = fatSector;
        else if (i < directory)
            value = difatSector;
        else if (i == directory)
            value = endOfChain;
        sector.u32(value);
        if (++n == entriesPerSector) {
            sink(sector.data(), sector.size());
            sector.clear();
            n = 0;
        }
    }

    // Extension of the header's list of allocation-table sectors.
    std::uint32_t listed = headerDifatEntries;
    for (std::uint32_t d = 0; d < layout.difatSectors; ++d) {
        sector.clear();
        for (std::uint32_t k = 0; k < entriesPerSector - 1; ++k, ++listed)
            sector.u32(listed < layout.fatSectors ? firstFat + listed : freeSector);
        sector.u32(d + 1 < layout.difatSectors ? firstDifat + d + 1 : endOfChain);
        sink(sector.data(), sector.size());
    }

    // Directory: the root, the workbook stream and two unused entries.
    sector.clear();
    directoryEntry(sector, u"Root Entry", 5, 1, endOfChain, 0);
    directoryEntry(sector, u"Workbook", 2, noStream, 0, layout.streamSize);
    directoryEntry(sector, u"", 0, noStream, 0, 0);
    directoryEntry(sector, u"", 0, noStream, 0, 0);
    sink(sector.data(), sector.size());
}

} // namespace xls
