#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace xls {

// Little-endian byte building, as every structure of the format is little-endian.
class Bytes
{
public:
    void u8(std::uint32_t v) { m_data.push_back(static_cast<std::uint8_t>(v)); }
    void u16(std::uint32_t v)
    {
        u8(v & 0xFF);
        u8((v >> 8) & 0xFF);
    }
    void u32(std::uint32_t v)
    {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void zeros(std::size_t count) { m_data.insert(m_data.end(), count, 0); }
    void append(const Bytes &other)
    {
        m_data.insert(m_data.end(), other.m_data.begin(), other.m_data.end());
    }
    // Characters in the compressed (one byte each) or the UTF-16LE form.
    void chars(std::u16string_view text, bool compressed)
    {
        std::uint8_t *out = grow(text.size() * (compressed ? 1 : 2));
        if (compressed) {
            for (char16_t c : text)
                *out++ = static_cast<std::uint8_t>(c);
        } else {
            for (char16_t c : text) {
                *out++ = static_cast<std::uint8_t>(c & 0xFF);
                *out++ = static_cast<std::uint8_t>(c >> 8);
            }
        }
    }
    // Room for count more bytes at the end, to be filled through the pointer.
    std::uint8_t *grow(std::size_t count)
    {
        const std::size_t size = m_data.size();
        m_data.resize(size + count);
        return m_data.data() + size;
    }
    void resize(std::size_t size) { m_data.resize(size); }

    const std::uint8_t *data() const { return m_data.data(); }
    std::size_t size() const { return m_data.size(); }
    void clear() { m_data.clear(); }
    void reserve(std::size_t n) { m_data.reserve(n); }

private:
    std::vector<std::uint8_t> m_data;
};

// One BIFF record: id, length, data.
inline void appendRecord(Bytes &out, std::uint16_t id, const Bytes &data)
{
    out.u16(id);
    out.u16(static_cast<std::uint32_t>(data.size()));
    out.append(data);
}

// Largest data part of a record; a larger one is cut short by some readers.
constexpr std::size_t maxRecordData = 8224;

} // namespace xls
