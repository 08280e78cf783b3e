#pragma once
// CProList: the profiles in file order, owning their records, with the current one.

#include <cstddef>
#include <cstdint>
#include <list>

#include "profile/profile_data.h"

namespace quobel {

class CProList {
public:
    CProList() = default;
    CProList(const CProList&) = delete;
    CProList& operator=(const CProList&) = delete;

    // Appends a copy; the returned record stays where it is until it is removed.
    ProfileData* AddProfile(const ProfileData& record) { return &records_.emplace_back(record); }
    // Appends a zeroed record to be filled in place (saves a copy when loading).
    ProfileData* AddBlankProfile() { return &records_.emplace_back(); }
    // Unlinks and frees the record; the current profile becomes none when it was that one.
    bool RemoveProfile(std::uint32_t id);
    [[nodiscard]] ProfileData* Find(std::uint32_t id);
    [[nodiscard]] const ProfileData* Find(std::uint32_t id) const;
    [[nodiscard]] ProfileData* FirstProfile() { return records_.empty() ? nullptr : &records_.front(); }
    // Makes the record with that id current; null (and the current one kept) when none has it.
    ProfileData* Select(std::uint32_t id);
    [[nodiscard]] ProfileData* Current() { return current_; }
    [[nodiscard]] const ProfileData* Current() const { return current_; }
    // Moves every record of other to the end of this list; the records stay where they are.
    void Splice(CProList& other) {
        records_.splice(records_.end(), other.records_);
        other.current_ = nullptr;
    }
    void Clear() {
        current_ = nullptr;
        records_.clear();
    }
    [[nodiscard]] std::size_t Count() const { return records_.size(); }
    [[nodiscard]] bool Full() const { return records_.size() >= kMaxProfiles; }

    auto begin() { return records_.begin(); }
    auto end() { return records_.end(); }
    [[nodiscard]] auto begin() const { return records_.begin(); }
    [[nodiscard]] auto end() const { return records_.end(); }

private:
    std::list<ProfileData> records_;
    ProfileData* current_ = nullptr;
};

inline ProfileData* CProList::Find(std::uint32_t id) {
    for (ProfileData& p : records_) {
        if (p.dwProfileID == id) return &p;
    }
    return nullptr;
}

inline const ProfileData* CProList::Find(std::uint32_t id) const {
    for (const ProfileData& p : records_) {
        if (p.dwProfileID == id) return &p;
    }
    return nullptr;
}

inline bool CProList::RemoveProfile(std::uint32_t id) {
    for (auto it = records_.begin(); it != records_.end(); ++it) {
        if (it->dwProfileID != id) continue;
        if (current_ == &*it) current_ = nullptr;
        records_.erase(it);
        return true;
    }
    return false;
}

inline ProfileData* CProList::Select(std::uint32_t id) {
    ProfileData* p = Find(id);
    if (p) current_ = p;
    return p;
}

}  // namespace quobel
