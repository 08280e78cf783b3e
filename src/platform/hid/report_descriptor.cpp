#include "platform/hid/report_descriptor.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <utility>

namespace quobel {

namespace {

// Item tags (prefix byte with the size bits cleared).
enum : std::uint8_t {
    kInput = 0x80,
    kOutput = 0x90,
    kFeature = 0xB0,
    kCollection = 0xA0,
    kEndCollection = 0xC0,
    kUsagePage = 0x04,
    kReportSize = 0x74,
    kReportId = 0x84,
    kReportCount = 0x94,
    kPush = 0xA4,
    kPop = 0xB4,
    kUsage = 0x08,
    kLongItem = 0xFE,
};

constexpr std::size_t kMaxPush = 32;    // far beyond what devices nest
constexpr std::size_t kMaxDepth = 64;
// Bits of one report before it counts as absurd (a 64 KiB report).
constexpr std::uint64_t kMaxReportBits = 0xFFFFull * 8;

struct Globals {
    std::uint32_t usage_page = 0;
    std::uint32_t report_size = 0;
    std::uint32_t report_count = 0;
    std::uint32_t report_id = 0;
};

struct Pending {
    std::uint16_t usage_page = 0;
    std::uint16_t usage = 0;
    // bits per (kind, report id); kind 0 input, 1 output, 2 feature
    std::map<std::pair<int, std::uint32_t>, std::uint64_t> bits;
};

std::uint16_t Length(const Pending& c, int kind) {
    std::uint64_t most = 0;
    for (const auto& [key, bits] : c.bits) {
        if (key.first == kind) most = std::max(most, (bits + 7) / 8);
    }
    return most == 0 ? std::uint16_t{0} : static_cast<std::uint16_t>(most + 1);
}

std::string Error(const char* what, std::size_t offset) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%s at byte %zu", what, offset);
    return buf;
}

}  // namespace

ParsedReportDescriptor ParseReportDescriptor(std::span<const std::uint8_t> desc) {
    ParsedReportDescriptor out;
    Globals g;
    std::vector<Globals> stack;
    bool have_usage = false;
    std::uint32_t first_usage = 0;
    std::uint8_t first_usage_size = 0;
    std::size_t depth = 0;
    Pending cur;
    bool in_top = false;

    std::size_t pos = 0;
    while (pos < desc.size()) {
        const std::size_t at = pos;
        const std::uint8_t prefix = desc[pos++];
        if (prefix == kLongItem) {
            if (desc.size() - pos < 2) return out.error = Error("truncated long item", at), out;
            const std::size_t n = desc[pos];
            pos += 2;
            if (desc.size() - pos < n) return out.error = Error("truncated long item", at), out;
            pos += n;
            continue;
        }
        const std::size_t size = (prefix & 3) == 3 ? 4 : (prefix & 3);
        if (desc.size() - pos < size) return out.error = Error("truncated item", at), out;
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < size; ++i) value |= std::uint32_t{desc[pos + i]} << (8 * i);
        pos += size;
        const std::uint8_t tag = prefix & 0xFC;

        switch (tag) {
            case kUsagePage: g.usage_page = value; break;
            case kReportSize: g.report_size = value; break;
            case kReportCount: g.report_count = value; break;
            case kReportId:
                if (value == 0 || value > 0xFF) return out.error = Error("invalid report ID", at), out;
                g.report_id = value;
                break;
            case kPush:
                if (stack.size() >= kMaxPush) return out.error = Error("push too deep", at), out;
                stack.push_back(g);
                break;
            case kPop:
                if (stack.empty()) return out.error = Error("pop without push", at), out;
                g = stack.back();
                stack.pop_back();
                break;
            case kUsage:
                if (!have_usage) {
                    have_usage = true;
                    first_usage = value;
                    first_usage_size = static_cast<std::uint8_t>(size);
                }
                break;
            case kCollection:
                if (depth >= kMaxDepth) return out.error = Error("collections nested too deep", at), out;
                if (depth == 0) {
                    cur = Pending{};
                    // A four-byte usage carries its own usage page.
                    cur.usage_page = static_cast<std::uint16_t>(first_usage_size == 4 ? first_usage >> 16 : g.usage_page);
                    cur.usage = static_cast<std::uint16_t>(first_usage);
                    in_top = true;
                }
                ++depth;
                break;
            case kEndCollection:
                if (depth == 0) return out.error = Error("end of a collection never opened", at), out;
                if (--depth == 0) {
                    out.collections.push_back({cur.usage_page, cur.usage,
                                               {Length(cur, 0), Length(cur, 1), Length(cur, 2)}});
                    in_top = false;
                }
                break;
            case kInput:
            case kOutput:
            case kFeature: {
                if (!in_top) return out.error = Error("report outside a collection", at), out;
                const int kind = tag == kInput ? 0 : tag == kOutput ? 1 : 2;
                std::uint64_t& bits = cur.bits[{kind, g.report_id}];
                bits += std::uint64_t{g.report_size} * g.report_count;
                if (bits > kMaxReportBits) return out.error = Error("report too long", at), out;
                break;
            }
            default: break;
        }
        // Local items last until the next main item.
        if ((prefix & 0x0C) == 0) {
            have_usage = false;
            first_usage = 0;
            first_usage_size = 0;
        }
    }
    if (depth != 0) out.error = Error("collection not closed", desc.size());
    return out;
}

}  // namespace quobel
