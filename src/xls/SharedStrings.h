#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace xls {

// The workbook's shared string table (SST): every text cell refers to one entry by number,
// and equal texts share an entry. The texts are held once, in UTF-16 chunks that never move,
// so a growing table is never copied as a whole.
class SharedStrings
{
public:
    SharedStrings();

    // The entry number of a non-empty text (at most 32,767 code units), adding it when new.
    // Each call counts one cell that refers to the table.
    std::uint32_t add(std::u16string_view text) { return add(text, hashOf(text)); }
    // The same with the text's hashOf(), computed ahead so that prefetch() could come first.
    std::uint32_t add(std::u16string_view text, std::uint32_t hash);
    static std::uint32_t hashOf(std::u16string_view text);
    // Asks for the memory that add() of a text with this hash reads first; a mere hint.
    void prefetch(std::uint32_t hash) const
    {
        __builtin_prefetch(&m_slots[hash & (m_slots.size() - 1)]);
    }
    // Makes room for this many distinct texts, so that the table does not grow step by step.
    void reserve(std::size_t entries);

    std::uint32_t uniqueCount() const { return static_cast<std::uint32_t>(m_entries.size()); }
    std::uint32_t referenceCount() const { return m_references; }

    // Receives the finished records piece by piece.
    using Sink = std::function<void(const std::uint8_t *data, std::size_t size)>;

    // Writes the SST record (split into CONTINUE records where it is too long) and the EXTSST
    // index that follows it. streamOffset is where the SST record starts in the workbook
    // stream; the index points into the stream.
    void write(const Sink &sink, std::uint64_t streamOffset) const;
    // Bytes that write() produces, counted without producing them.
    std::uint64_t byteSize() const;

private:
    // Entry number + 1 (0: free) and the entry's hash, so that a probe compares texts only
    // when the hashes agree and growing never hashes a text again.
    struct Slot
    {
        std::uint32_t entry = 0;
        std::uint32_t hash = 0;
    };

    std::u16string_view entry(std::uint32_t index) const;
    // True when every character of the entry fits into one byte (known since it was added).
    bool isCompressed(std::uint32_t index) const;
    // write() and byteSize() in one: without a sink it only counts; returns the bytes.
    std::uint64_t produce(const Sink *sink, std::uint64_t streamOffset) const;
    Slot *findSlot(std::u16string_view text, std::uint32_t hash);
    void rehash(std::size_t slots);

    std::vector<std::u16string> m_chunks;
    // Per entry: chunk (high bits), offset in the chunk, a flag for texts beyond Latin-1 and
    // the length (low 15 bits).
    std::vector<std::uint64_t> m_entries;
    // Open addressing, a power of two in size, at most half full.
    std::vector<Slot> m_slots;
    std::uint32_t m_references = 0;
};

} // namespace xls
