#pragma once
// Bounds-checked byte access for device reports and file records.
//
// Device reports are built with explicit byte writes: the writer never writes outside
// its buffer; a write that would is dropped and remembered, so a caller checks ok()
// once after building a report instead of after every byte.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>

static_assert(std::endian::native == std::endian::little,
              "file records are little-endian and mapped directly onto memory");

namespace quobel {

class ByteWriter {
public:
    explicit ByteWriter(std::span<std::uint8_t> buf) : buf_(buf) {}

    void u8(std::size_t pos, std::uint32_t v) { put(pos, static_cast<std::uint8_t>(v)); }
    void le16(std::size_t pos, std::uint32_t v) {
        put(pos, static_cast<std::uint8_t>(v));
        put(pos + 1, static_cast<std::uint8_t>(v >> 8));
    }
    void be16(std::size_t pos, std::uint32_t v) {
        put(pos, static_cast<std::uint8_t>(v >> 8));
        put(pos + 1, static_cast<std::uint8_t>(v));
    }
    void le32(std::size_t pos, std::uint32_t v) {
        for (std::size_t i = 0; i < 4; ++i) put(pos + i, static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void be32(std::size_t pos, std::uint32_t v) {
        for (std::size_t i = 0; i < 4; ++i) put(pos + i, static_cast<std::uint8_t>(v >> (8 * (3 - i))));
    }

    [[nodiscard]] bool ok() const { return ok_; }
    [[nodiscard]] std::size_t size() const { return buf_.size(); }

private:
    void put(std::size_t pos, std::uint8_t v) {
        if (pos < buf_.size()) buf_[pos] = v;
        else ok_ = false;
    }
    std::span<std::uint8_t> buf_;
    bool ok_ = true;
};

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> buf) : buf_(buf) {}

    [[nodiscard]] std::uint8_t u8(std::size_t pos) const { return get(pos); }
    [[nodiscard]] std::uint16_t le16(std::size_t pos) const {
        return static_cast<std::uint16_t>(get(pos) | (get(pos + 1) << 8));
    }
    [[nodiscard]] std::uint16_t be16(std::size_t pos) const {
        return static_cast<std::uint16_t>((get(pos) << 8) | get(pos + 1));
    }
    [[nodiscard]] std::uint32_t le32(std::size_t pos) const {
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < 4; ++i) v |= std::uint32_t{get(pos + i)} << (8 * i);
        return v;
    }

    // False once any read fell outside the buffer (such reads give 0).
    [[nodiscard]] bool ok() const { return ok_; }
    [[nodiscard]] std::size_t size() const { return buf_.size(); }

private:
    std::uint8_t get(std::size_t pos) const {
        if (pos < buf_.size()) return buf_[pos];
        ok_ = false;
        return 0;
    }
    std::span<const std::uint8_t> buf_;
    mutable bool ok_ = true;
};

}  // namespace quobel
