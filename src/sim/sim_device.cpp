#include "sim/sim_device.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <utility>

namespace quobel {

namespace {
// Blocks of one interface are its feature length without the report ID.
std::size_t DataLength(const SimInterface& i) { return i.lengths.feature > 0 ? i.lengths.feature - 1U : 0U; }
}  // namespace

SimDevice::SimDevice(DeviceKind kind, std::uint16_t vid, std::uint16_t pid, std::string product,
                     std::vector<SimInterface> interfaces)
    : kind_(kind), vid_(vid), pid_(pid), product_(std::move(product)), interfaces_(std::move(interfaces)) {
    for (const SimInterface& i : interfaces_) {
        for (std::uint8_t id : i.feature_ids) blocks_[id].assign(DataLength(i), 0);
    }
}

std::string SimDevice::DeviceName() const {
    return MakeDeviceName(vid_, pid_, "sim-" + std::string(KindName(kind_)));
}

std::string SimDevice::InterfacePath(std::size_t i) const {
    char col[16];
    std::snprintf(col, sizeof col, "&col%02zu", i + 1);
    return DeviceName() + col;
}

void SimDevice::Unplug() {
    {
        std::scoped_lock lock(mutex_);
        if (!plugged_) return;
        plugged_ = false;
        ++generation_;
        for (auto& [id, queue] : readers_) queue.clear();
    }
    input_ready_.notify_all();
    std::function<void(SimDevice&, bool)> listener;
    {
        std::scoped_lock lock(mutex_);
        listener = plug_listener_;
    }
    if (listener) listener(*this, false);
}

void SimDevice::Plug() {
    std::function<void(SimDevice&, bool)> listener;
    {
        std::scoped_lock lock(mutex_);
        if (plugged_) return;
        plugged_ = true;
        ++generation_;
        listener = plug_listener_;
    }
    if (listener) listener(*this, true);
}

bool SimDevice::Plugged() const {
    std::scoped_lock lock(mutex_);
    return plugged_;
}

void SimDevice::FailNextExchanges(int n) {
    std::scoped_lock lock(mutex_);
    fail_next_ = n;
}

void SimDevice::AnswerShortNext(int n) {
    std::scoped_lock lock(mutex_);
    short_next_ = n;
}

void SimDevice::DenyAccess(bool deny) {
    std::scoped_lock lock(mutex_);
    deny_access_ = deny;
}

bool SimDevice::AccessDenied() const {
    std::scoped_lock lock(mutex_);
    return deny_access_;
}

bool SimDevice::EmitInput(std::span<const std::uint8_t> report) {
    {
        std::scoped_lock lock(mutex_);
        if (!plugged_) return false;
        for (auto& [id, queue] : readers_) queue.emplace_back(report.begin(), report.end());
    }
    input_ready_.notify_all();
    return true;
}

std::vector<std::uint8_t> SimDevice::Block(std::uint8_t report_id) const {
    std::scoped_lock lock(mutex_);
    const auto it = blocks_.find(report_id);
    return it == blocks_.end() ? std::vector<std::uint8_t>{} : it->second;
}

void SimDevice::SetBlock(std::uint8_t report_id, std::span<const std::uint8_t> data) {
    std::scoped_lock lock(mutex_);
    std::vector<std::uint8_t>& b = blocks_[report_id];
    std::copy_n(data.begin(), std::min(data.size(), b.size()), b.begin());
}

int SimDevice::Exchanges() const {
    std::scoped_lock lock(mutex_);
    return exchanges_;
}

void SimDevice::SetPlugListener(std::function<void(SimDevice&, bool)> listener) {
    std::scoped_lock lock(mutex_);
    plug_listener_ = std::move(listener);
}

std::uint64_t SimDevice::Generation() const {
    std::scoped_lock lock(mutex_);
    return generation_;
}

std::size_t SimDevice::FeatureDataLength(std::uint8_t report_id) const {
    for (const SimInterface& i : interfaces_) {
        if (std::find(i.feature_ids.begin(), i.feature_ids.end(), report_id) != i.feature_ids.end()) {
            return DataLength(i);
        }
    }
    return 0;
}

// Called under the lock: 0 when the exchange may reach the firmware.
int SimDevice::CheckExchange(std::size_t iface, std::uint64_t generation, std::uint8_t report_id,
                             std::size_t length) {
    if (!plugged_ || generation != generation_) return ENODEV;
    if (fail_next_ > 0) {
        --fail_next_;
        return EIO;
    }
    const SimInterface& i = interfaces_.at(iface);
    if (std::find(i.feature_ids.begin(), i.feature_ids.end(), report_id) == i.feature_ids.end()) return EPIPE;
    if (length == 0) return EINVAL;
    ++exchanges_;
    return 0;
}

HidIo SimDevice::SetFeature(std::size_t iface, std::uint64_t generation, std::span<const std::uint8_t> report) {
    std::scoped_lock lock(mutex_);
    if (report.empty()) return {0, EINVAL};
    if (const int err = CheckExchange(iface, generation, report[0], report.size())) return {0, err};
    // A report shorter than the firmware's is refused; a longer one is cut to its
    // length, as the Windows HID driver does (the keyboard's request report is sent
    // one byte longer than the interface declares).
    const std::size_t len = interfaces_[iface].lengths.feature;
    if (report.size() < len) return {0, EPIPE};
    if (const int err = OnSet(report[0], report.subspan(1, len - 1))) return {0, err};
    return {report.size(), 0};
}

HidIo SimDevice::GetFeature(std::size_t iface, std::uint64_t generation, std::span<std::uint8_t> report) {
    std::scoped_lock lock(mutex_);
    if (report.empty()) return {0, EINVAL};
    if (const int err = CheckExchange(iface, generation, report[0], report.size())) return {0, err};
    std::vector<std::uint8_t> answer(interfaces_[iface].lengths.feature, 0);
    answer[0] = report[0];
    if (const int err = OnGet(report[0], std::span(answer).subspan(1))) return {0, err};
    std::size_t n = std::min(answer.size(), report.size());
    if (short_next_ > 0) {
        --short_next_;
        n = std::min(n, answer.size() - 1);
    }
    std::copy_n(answer.begin(), n, report.begin());
    return {n, 0};
}

int SimDevice::OpenReader() {
    std::scoped_lock lock(mutex_);
    readers_[next_reader_];
    return next_reader_++;
}

void SimDevice::CloseReader(int reader) {
    std::scoped_lock lock(mutex_);
    readers_.erase(reader);
}

HidIo SimDevice::ReadInput(std::size_t iface, std::uint64_t generation, int reader, std::span<std::uint8_t> report,
                           std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    const auto it = readers_.find(reader);
    if (!interfaces_.at(iface).input || it == readers_.end()) return {0, EINVAL};
    std::deque<std::vector<std::uint8_t>>& queue = it->second;
    const bool ready = input_ready_.wait_for(lock, timeout, [&] {
        return !plugged_ || generation != generation_ || !queue.empty();
    });
    if (!plugged_ || generation != generation_) return {0, ENODEV};
    if (!ready) return {0, ETIMEDOUT};
    const std::vector<std::uint8_t> r = std::move(queue.front());
    queue.pop_front();
    const std::size_t n = std::min(r.size(), report.size());
    std::copy_n(r.begin(), n, report.begin());
    return {n, 0};
}

int SimDevice::OnSet(std::uint8_t report_id, std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t>& b = blocks_[report_id];
    b.assign(data.begin(), data.end());
    return 0;
}

int SimDevice::OnGet(std::uint8_t report_id, std::span<std::uint8_t> data) {
    const std::vector<std::uint8_t>& b = blocks_[report_id];
    std::copy_n(b.begin(), std::min(b.size(), data.size()), data.begin());
    return 0;
}

// ---- mouse ----------------------------------------------------------------------------

namespace {
constexpr std::uint8_t kMsMatrix = 6, kMsGeneral = 4, kMsMode = 8, kMsNotify = 7;

std::vector<SimInterface> MouseInterfaces(int ms_fw) {
    const bool short_matrix = ms_fw == 2 || ms_fw == 3 || ms_fw == 8;
    const auto matrix = static_cast<std::uint16_t>(short_matrix ? 1065 : 1145);
    const auto general = static_cast<std::uint16_t>(ms_fw == 10 ? 81 : 59);
    return {
        {{0, 0, matrix}, {kMsMatrix}, false},
        {{0, 0, general}, {kMsGeneral}, false},
        {{5, 0, 0}, {}, true},
        {{0, 0, 9}, {kMsMode}, false},
    };
}
}  // namespace

SimMouse::SimMouse(std::uint16_t vid, std::uint16_t pid, int ms_fw, int sensor_code)
    : SimDevice(DeviceKind::Mouse, vid, pid, "Quobel Mouse", MouseInterfaces(ms_fw)) {
    std::scoped_lock lock(mutex_);
    blocks_[kMsGeneral][2] = static_cast<std::uint8_t>((sensor_code & 0xF) << 4);
    blocks_[kMsMode][0] = 1;
}

bool SimMouse::EmitNotification(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2, std::uint8_t b3) {
    const std::uint8_t report[] = {kMsNotify, b0, b1, b2, b3};
    return EmitInput(report);
}

// ---- keyboard -------------------------------------------------------------------------

namespace {
constexpr std::uint8_t kKbBlock = 6, kKbRequest = 5;

std::uint16_t CommandKey(std::uint8_t cmd, std::uint8_t addr) {
    // The profile header is addressed by its command alone.
    return static_cast<std::uint16_t>(cmd << 8 | (cmd == 3 ? 0 : addr));
}
}  // namespace

SimKeyboard::SimKeyboard(std::uint16_t vid, std::uint16_t pid)
    : SimDevice(DeviceKind::Keyboard, vid, pid, "Quobel Keyboard",
                {{{0, 0, 1032}, {kKbBlock}, false}, {{0, 0, 6}, {kKbRequest}, false}}) {}

std::vector<SimDevice::DumpEntry> SimKeyboard::Dump() const {
    std::lock_guard lock(mutex_);
    std::vector<DumpEntry> out;
    for (const auto& [key, bytes] : commands_) {
        char name[32];
        std::snprintf(name, sizeof name, "cmd %02x addr %02x", key >> 8, key & 0xFF);
        out.push_back({name, bytes});
    }
    return out;
}

std::vector<std::uint8_t> SimKeyboard::CommandBlock(std::uint8_t cmd, std::uint8_t addr) const {
    std::scoped_lock lock(mutex_);
    const auto it = commands_.find(CommandKey(cmd, addr));
    return it == commands_.end() ? std::vector<std::uint8_t>{} : it->second;
}

int SimKeyboard::OnSet(std::uint8_t report_id, std::span<const std::uint8_t> data) {
    if (report_id == kKbRequest) {
        request_.assign(data.begin(), data.end());
        return 0;
    }
    commands_[CommandKey(data[0], data[1])].assign(data.begin(), data.end());
    return SimDevice::OnSet(report_id, data);
}

int SimKeyboard::OnGet(std::uint8_t report_id, std::span<std::uint8_t> data) {
    if (report_id == kKbRequest) return SimDevice::OnGet(report_id, data);
    // A block read answers the pending request (command | 0x80, address); without
    // one the answer carries no command.
    std::fill(data.begin(), data.end(), std::uint8_t{0});
    if (request_.size() >= 2 && (request_[0] & 0x80) != 0) {
        const auto it = commands_.find(CommandKey(static_cast<std::uint8_t>(request_[0] & 0x7F), request_[1]));
        if (it != commands_.end()) std::copy_n(it->second.begin(), std::min(it->second.size(), data.size()), data.begin());
        data[0] = request_[0];
    }
    request_.clear();
    return 0;
}

// ---- pad ------------------------------------------------------------------------------

SimPad::SimPad(std::uint16_t vid, std::uint16_t pid)
    : SimDevice(DeviceKind::Pad, vid, pid, "Quobel Pad", {{{0, 0, 27}, {48}, false}}) {}

std::vector<SimDevice::DumpEntry> SimDevice::Dump() const {
    std::lock_guard lock(mutex_);
    std::vector<DumpEntry> out;
    for (const auto& [id, bytes] : blocks_) {
        char name[16];
        std::snprintf(name, sizeof name, "%02x", id);
        out.push_back({name, bytes});
    }
    return out;
}

}  // namespace quobel
