#include "sim/sim_backend.h"

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <thread>
#include <vector>

namespace quobel {
namespace {

using namespace std::chrono_literals;

constexpr std::uint16_t kVid = 0x1a2b;

OpenRequest Feature(std::uint16_t pid, std::size_t len) {
    OpenRequest r;
    r.path_filter = FormatPathFilter(kVid, pid, false);
    r.size_filter = FeatureLengthIs(len);
    return r;
}

OpenRequest Input(std::uint16_t pid, std::size_t len) {
    OpenRequest r;
    r.path_filter = FormatPathFilter(kVid, pid, true);
    r.size_filter = InputLengthIs(len);
    return r;
}

// A backend with one sane device of each kind; each test breaks it in one way.
struct SimFixture : ::testing::Test {
    SimFixture() {
        mouse = static_cast<SimMouse*>(&sim.Add(std::make_unique<SimMouse>(kVid, 0x0001, 3, 2)));
        keyboard = static_cast<SimKeyboard*>(&sim.Add(std::make_unique<SimKeyboard>(kVid, 0x0002)));
        pad = static_cast<SimPad*>(&sim.Add(std::make_unique<SimPad>(kVid, 0x0003)));
    }
    HidHandle Open(const OpenRequest& r) {
        OpenResult o = sim.Open(r);
        EXPECT_EQ(o.error, OpenError::None);
        return o.device;
    }
    SimBackend sim;
    SimMouse* mouse = nullptr;
    SimKeyboard* keyboard = nullptr;
    SimPad* pad = nullptr;
};

TEST_F(SimFixture, MouseStartsWithTheConfiguredSensorAndModeOne) {
    std::vector<std::uint8_t> general = mouse->Block(4);
    ASSERT_EQ(general.size(), 58U);
    EXPECT_EQ(general[2], 0x20);
    general[2] = 0;
    EXPECT_EQ(general, std::vector<std::uint8_t>(58, 0));
    const std::vector<std::uint8_t> mode = mouse->Block(8);
    ASSERT_EQ(mode.size(), 8U);
    EXPECT_EQ(mode[0], 1);
    EXPECT_EQ(mouse->Block(6), std::vector<std::uint8_t>(1064, 0));
}

TEST(SimMouse, ReportLengthsFollowTheFirmwareType) {
    struct Row {
        int fw;
        std::uint16_t matrix, general;
    };
    for (const Row& row : {Row{3, 1065, 59}, Row{8, 1065, 59}, Row{5, 1145, 59}, Row{10, 1145, 81}}) {
        const SimMouse m(kVid, 1, row.fw, 1);
        const auto& ifs = m.Interfaces();
        ASSERT_EQ(ifs.size(), 4U);
        EXPECT_EQ(ifs[0].lengths.feature, row.matrix) << "fw " << row.fw;
        EXPECT_EQ(ifs[1].lengths.feature, row.general) << "fw " << row.fw;
        EXPECT_EQ(ifs[2].lengths.input, 5) << "fw " << row.fw;
        EXPECT_EQ(ifs[3].lengths.feature, 9) << "fw " << row.fw;
    }
}

TEST_F(SimFixture, FeatureWritesAreStoredAndReadBack) {
    HidHandle h = Open(Feature(0x0003, 27));
    std::array<std::uint8_t, 27> report{};
    report[0] = 48;
    for (std::size_t i = 1; i < report.size(); ++i) report[i] = static_cast<std::uint8_t>(i);
    const HidIo set = h->SetFeature(report);
    EXPECT_TRUE(set.ok());
    EXPECT_EQ(set.bytes, 27U);
    EXPECT_EQ(pad->Block(48), std::vector<std::uint8_t>(report.begin() + 1, report.end()));

    std::array<std::uint8_t, 27> back{};
    back[0] = 48;
    const HidIo get = h->GetFeature(back);
    EXPECT_TRUE(get.ok());
    EXPECT_EQ(get.bytes, 27U);
    EXPECT_EQ(back, report);
}

TEST_F(SimFixture, FirmwareRefusesWrongReportsAndLengths) {
    HidHandle general = Open(Feature(0x0001, 59));
    std::array<std::uint8_t, 59> wrong_id{};
    wrong_id[0] = 6;  // the matrix report lives on another interface
    EXPECT_EQ(general->SetFeature(wrong_id).error, EPIPE);
    EXPECT_EQ(general->GetFeature(wrong_id).error, EPIPE);
    std::array<std::uint8_t, 30> short_write{};
    short_write[0] = 4;
    EXPECT_FALSE(general->SetFeature(short_write).ok());
    EXPECT_EQ(mouse->Block(4)[2], 0x20);  // nothing stored
}

TEST_F(SimFixture, KeyboardAnswersABlockReadWithThePendingRequest) {
    HidHandle device = Open(Feature(0x0002, 1032));
    HidHandle cmd = Open(Feature(0x0002, 6));
    std::vector<std::uint8_t> header(1032, 0);
    header[0] = 6;
    header[1] = 3;  // command 3: profile header from C7
    for (std::size_t i = 8; i < 8 + 136; ++i) header[i] = static_cast<std::uint8_t>(i);
    ASSERT_TRUE(device->SetFeature(header).ok());

    const std::array<std::uint8_t, 7> request = {5, 0x83, 0, 0, 0, 0, 0};
    ASSERT_TRUE(cmd->SetFeature(request).ok());
    std::vector<std::uint8_t> answer(1032, 0);
    answer[0] = 6;
    ASSERT_EQ(device->GetFeature(answer).bytes, 1032U);
    EXPECT_EQ(answer[1], 0x83);
    EXPECT_TRUE(std::equal(answer.begin() + 8, answer.begin() + 144, header.begin() + 8));
    EXPECT_EQ(keyboard->CommandBlock(3, 0), std::vector<std::uint8_t>(header.begin() + 1, header.end()));

    // The request is used up: a second read carries no command.
    std::fill(answer.begin(), answer.end(), 0);
    answer[0] = 6;
    ASSERT_TRUE(device->GetFeature(answer).ok());
    EXPECT_EQ(answer[1], 0);
}

TEST_F(SimFixture, KeyboardKeepsCommandBlocksByAddress) {
    HidHandle device = Open(Feature(0x0002, 1032));
    for (const std::uint8_t addr : {std::uint8_t{0xCC}, std::uint8_t{0xD0}}) {
        std::vector<std::uint8_t> block(1032, addr);
        block[0] = 6;
        block[1] = 5;
        block[2] = addr;
        ASSERT_TRUE(device->SetFeature(block).ok());
    }
    EXPECT_EQ(keyboard->CommandBlock(5, 0xCC).at(10), 0xCC);
    EXPECT_EQ(keyboard->CommandBlock(5, 0xD0).at(10), 0xD0);
    EXPECT_TRUE(keyboard->CommandBlock(5, 0xD4).empty());
}

TEST_F(SimFixture, UnplugBreaksOpenHandlesForGood) {
    HidHandle h = Open(Feature(0x0003, 27));
    std::array<std::uint8_t, 27> report{};
    report[0] = 48;
    pad->Unplug();
    EXPECT_EQ(h->GetFeature(report).error, ENODEV);
    EXPECT_EQ(sim.Open(Feature(0x0003, 27)).error, OpenError::NotFound);
    EXPECT_EQ(sim.Probe(Feature(0x0003, 27)), Presence::Absent);
    pad->Plug();
    EXPECT_EQ(h->GetFeature(report).error, ENODEV);  // a replugged device is a new device
    EXPECT_TRUE(Open(Feature(0x0003, 27))->GetFeature(report).ok());
}

TEST_F(SimFixture, FailsTheNextExchangesThenAnswers) {
    HidHandle h = Open(Feature(0x0003, 27));
    std::array<std::uint8_t, 27> report{};
    report[0] = 48;
    pad->FailNextExchanges(2);
    EXPECT_EQ(h->GetFeature(report).error, EIO);
    EXPECT_EQ(h->SetFeature(report).error, EIO);
    EXPECT_TRUE(h->GetFeature(report).ok());
    EXPECT_EQ(pad->Exchanges(), 1);
}

TEST_F(SimFixture, AnswersShortWhenTold) {
    HidHandle h = Open(Feature(0x0003, 27));
    std::array<std::uint8_t, 27> report{};
    report[0] = 48;
    pad->AnswerShortNext(1);
    const HidIo r = h->GetFeature(report);
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(r.bytes, 26U);
    EXPECT_EQ(h->GetFeature(report).bytes, 27U);
}

TEST_F(SimFixture, DeniedAccessIsToldApartFromAbsence) {
    mouse->DenyAccess(true);
    const OpenResult r = sim.Open(Feature(0x0001, 59));
    EXPECT_EQ(r.error, OpenError::NoAccess);
    EXPECT_EQ(r.device, nullptr);
    EXPECT_EQ(sim.Probe(Feature(0x0001, 59)), Presence::NoAccess);
    EXPECT_EQ(sim.Probe(Feature(0x0009, 59)), Presence::Absent);
}

TEST_F(SimFixture, NotificationReportsReachTheReader) {
    HidHandle notify = Open(Input(0x0001, 5));
    std::array<std::uint8_t, 5> buf{};
    EXPECT_EQ(notify->ReadInput(buf, 1ms).error, ETIMEDOUT);
    ASSERT_TRUE(mouse->EmitNotification(2, 0x13, 0, 0));
    const HidIo r = notify->ReadInput(buf, 1s);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.bytes, 5U);
    EXPECT_EQ(buf, (std::array<std::uint8_t, 5>{7, 2, 0x13, 0, 0}));
}

TEST_F(SimFixture, UnplugWakesAWaitingRead) {
    HidHandle notify = Open(Input(0x0001, 5));
    std::jthread unplug([this] {
        std::this_thread::sleep_for(20ms);
        mouse->Unplug();
    });
    std::array<std::uint8_t, 5> buf{};
    EXPECT_EQ(notify->ReadInput(buf, 10s).error, ENODEV);
}

TEST_F(SimFixture, PlugAndUnplugRaiseNamedEvents) {
    std::vector<DeviceEvent> events;
    ASSERT_TRUE(sim.Start([&](const DeviceEvent& e) { events.push_back(e); }));
    keyboard->Unplug();
    keyboard->Plug();
    sim.Stop();
    mouse->Unplug();
    ASSERT_EQ(events.size(), 2U);
    EXPECT_EQ(events[0].type, DeviceEvent::Type::Removal);
    EXPECT_EQ(events[1].type, DeviceEvent::Type::Arrival);
    EXPECT_EQ(events[0].name, "USB#VID_1A2B&PID_0002#sim-keyboard");
    EXPECT_TRUE(PathMatches(events[1].name, "USB#VID_1a2b&PID_0002"));
}

TEST_F(SimFixture, OpenTakesTheFirstInterfaceTheFiltersAccept) {
    OpenRequest any;
    any.path_filter = FormatPathFilter(kVid, 0x0001, false);
    HidHandle first = Open(any);
    EXPECT_EQ(first->Info().lengths.feature, 1065);
    OpenRequest other_usage = Feature(0x0001, 59);
    other_usage.usage = 2;
    EXPECT_EQ(sim.Open(other_usage).error, OpenError::NotFound);
    std::string product;
    ASSERT_TRUE(first->GetProductString(product));
    EXPECT_EQ(product, "Quobel Mouse");
}

}  // namespace
}  // namespace quobel
