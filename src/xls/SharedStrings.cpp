#include "xls/SharedStrings.h"

#include "xls/Bytes.h"
#include "xls/Utf16.h"

#include <algorithm>
#include <cassert>

namespace xls {

namespace {

constexpr std::size_t chunkUnits = std::size_t(1) << 20;
constexpr int offsetBits = 20;
constexpr int lengthBits = 16; // the length (at most 32,767) and above it the wide flag
constexpr std::uint64_t lengthMask = 0x7FFF;
constexpr std::uint64_t wideBit = 0x8000;

constexpr std::uint16_t idSst = 0x00FC;
constexpr std::uint16_t idContinue = 0x003C;
constexpr std::uint16_t idExtSst = 0x00FF;

bool isHighSurrogate(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

// Strings per EXTSST bucket; keeps the index within one record (at most 128 buckets).
std::uint32_t bucketSize(std::uint32_t unique)
{
    return std::max<std::uint32_t>(unique / 128 + 1, 8);
}

// Collects record data and hands each finished record to the sink; without a sink it only
// counts, so that the size is known before anything is written, by the same splitting.
class RecordStream
{
public:
    RecordStream(const SharedStrings::Sink *sink, std::uint64_t offset)
        : m_sink(sink)
        , m_recordStart(offset)
    {
        if (m_sink)
            m_data.reserve(maxRecordData);
    }

    void begin(std::uint16_t id)
    {
        m_id = id;
        m_size = 0;
        m_data.clear();
    }
    void end()
    {
        if (m_sink) {
            Bytes header;
            header.u16(m_id);
            header.u16(static_cast<std::uint32_t>(m_size));
            (*m_sink)(header.data(), header.size());
            (*m_sink)(m_data.data(), m_data.size());
        }
        m_recordStart += 4 + m_size;
    }
    std::size_t room() const { return maxRecordData - m_size; }
    // Offset of the next byte within its record (the 4-byte header included) and in the stream.
    std::uint32_t offsetInRecord() const { return static_cast<std::uint32_t>(4 + m_size); }
    std::uint64_t streamPosition() const { return m_recordStart + offsetInRecord(); }
    // Where the records written so far end.
    std::uint64_t recordsEnd() const { return m_recordStart; }

    void u8(std::uint32_t v)
    {
        if (m_sink)
            m_data.u8(v);
        m_size += 1;
    }
    void u16(std::uint32_t v)
    {
        if (m_sink)
            m_data.u16(v);
        m_size += 2;
    }
    void u32(std::uint32_t v)
    {
        if (m_sink)
            m_data.u32(v);
        m_size += 4;
    }
    void chars(std::u16string_view text, bool compressed)
    {
        if (m_sink)
            m_data.chars(text, compressed);
        m_size += text.size() * (compressed ? 1 : 2);
    }

private:
    const SharedStrings::Sink *m_sink;
    std::uint64_t m_recordStart;
    std::uint16_t m_id = 0;
    std::size_t m_size = 0;
    Bytes m_data;
};

} // namespace

SharedStrings::SharedStrings()
    : m_slots(1024)
{
}

void SharedStrings::reserve(std::size_t entries)
{
    std::size_t slots = m_slots.size();
    while (entries * 2 > slots)
        slots *= 2;
    if (slots != m_slots.size())
        rehash(slots);
    m_entries.reserve(entries);
}

std::u16string_view SharedStrings::entry(std::uint32_t index) const
{
    const std::uint64_t e = m_entries[index];
    const std::size_t length = e & lengthMask;
    const std::size_t offset = (e >> lengthBits) & ((1u << offsetBits) - 1);
    const std::size_t chunk = e >> (lengthBits + offsetBits);
    return std::u16string_view(m_chunks[chunk]).substr(offset, length);
}

bool SharedStrings::isCompressed(std::uint32_t index) const
{
    return (m_entries[index] & wideBit) == 0;
}

SharedStrings::Slot *SharedStrings::findSlot(std::u16string_view text, std::uint32_t hash)
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        Slot &slot = m_slots[i];
        if (slot.entry == 0 || (slot.hash == hash && entry(slot.entry - 1) == text))
            return &slot;
    }
}

void SharedStrings::rehash(std::size_t slots)
{
    std::vector<Slot> old(slots);
    old.swap(m_slots);
    const std::size_t mask = m_slots.size() - 1;
    // The entries are distinct: each goes to the first free slot, no text is compared.
    for (const Slot &slot : old) {
        if (slot.entry == 0)
            continue;
        std::size_t i = slot.hash & mask;
        while (m_slots[i].entry != 0)
            i = (i + 1) & mask;
        m_slots[i] = slot;
    }
}

std::uint32_t SharedStrings::hashOf(std::u16string_view text)
{
    const std::size_t h = std::hash<std::u16string_view> {}(text);
    return static_cast<std::uint32_t>(h ^ (h >> 32));
}

std::uint32_t SharedStrings::add(std::u16string_view text, std::uint32_t hash)
{
    assert(!text.empty() && text.size() <= maxCellTextUnits);
    assert(hash == hashOf(text));
    ++m_references;
    Slot *slot = findSlot(text, hash);
    if (slot->entry != 0)
        return slot->entry - 1;

    if (m_chunks.empty() || m_chunks.back().size() + text.size() > chunkUnits) {
        m_chunks.emplace_back();
        m_chunks.back().reserve(chunkUnits);
    }
    std::u16string &chunk = m_chunks.back();
    const std::uint64_t entryBits
        = (std::uint64_t(m_chunks.size() - 1) << (lengthBits + offsetBits))
        | (std::uint64_t(chunk.size()) << lengthBits) | (fitsLatin1(text) ? 0 : wideBit)
        | text.size();
    chunk.append(text);
    m_entries.push_back(entryBits);
    const auto index = static_cast<std::uint32_t>(m_entries.size() - 1);
    *slot = Slot { index + 1, hash };
    if (m_entries.size() * 2 > m_slots.size())
        rehash(m_slots.size() * 2);
    return index;
}

void SharedStrings::write(const Sink &sink, std::uint64_t streamOffset) const
{
    produce(&sink, streamOffset);
}

std::uint64_t SharedStrings::byteSize() const
{
    return produce(nullptr, 0);
}

std::uint64_t SharedStrings::produce(const Sink *sink, std::uint64_t streamOffset) const
{
    const std::uint32_t unique = uniqueCount();
    const std::uint32_t perBucket = bucketSize(unique);
    Bytes index; // EXTSST buckets
    RecordStream out(sink, streamOffset);

    out.begin(idSst);
    out.u32(m_references);
    out.u32(unique);
    for (std::uint32_t i = 0; i < unique; ++i) {
        const std::u16string_view text = entry(i);
        const bool compressed = isCompressed(i);
        const std::size_t unit = compressed ? 1 : 2;
        // Count, flags and the first character (a surrogate pair counts as one) stay together.
        if (out.room() < 3 + 2 * unit) {
            out.end();
            out.begin(idContinue);
        }
        if (i % perBucket == 0) {
            index.u32(static_cast<std::uint32_t>(out.streamPosition()));
            index.u16(out.offsetInRecord());
            index.u16(0);
        }
        out.u16(static_cast<std::uint32_t>(text.size()));
        out.u8(compressed ? 0 : 1);
        std::size_t done = 0;
        for (;;) {
            std::size_t n = std::min(text.size() - done, out.room() / unit);
            if (done + n < text.size() && n > 0 && isHighSurrogate(text[done + n - 1]))
                --n; // never part a surrogate pair
            out.chars(text.substr(done, n), compressed);
            done += n;
            if (done == text.size())
                break;
            // The rest follows in a CONTINUE record that repeats the flags.
            out.end();
            out.begin(idContinue);
            out.u8(compressed ? 0 : 1);
        }
    }
    out.end();

    Bytes ext;
    ext.u16(perBucket);
    ext.append(index);
    Bytes record;
    appendRecord(record, idExtSst, ext);
    if (sink)
        (*sink)(record.data(), record.size());
    return out.recordsEnd() + record.size() - streamOffset;
}

} // namespace xls
