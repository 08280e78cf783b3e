// One contract for every HID backend: run against the simulated mouse always, and
// against a real mouse through hidapi when one is attached (the ids of data/cfg.ini,
// or QUOBEL_TEST_MOUSE=vvvv:pppp[:fw]). The real run only writes back what it read.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <functional>
#include <ostream>
#include <memory>
#include <string>
#include <vector>

#include "platform/hid/hidapi_backend.h"
#include "platform/ini.h"
#include "sim/sim_backend.h"

namespace quobel {
namespace {

using namespace std::chrono_literals;

struct Target {
    std::string name;
    std::function<std::unique_ptr<HidBackend>()> make;
    std::uint16_t vid = 0;
    std::uint16_t pid = 0;
    int fw = 0;
};

// Names the row in test output instead of dumping the struct's bytes.
void PrintTo(const Target& t, std::ostream* os) { *os << t.name; }

Target SimTarget() {
    return {"simulated", [] {
                auto sim = std::make_unique<SimBackend>();
                sim->Add(std::make_unique<SimMouse>(0x1a2b, 0x0001, 5, 2));
                return std::unique_ptr<HidBackend>(std::move(sim));
            },
            0x1a2b, 0x0001, 5};
}

Target HidapiTarget() {
    Target t{"hidapi", [] { return std::unique_ptr<HidBackend>(std::make_unique<HidapiBackend>()); }};
    if (const char* env = std::getenv("QUOBEL_TEST_MOUSE")) {
        unsigned vid = 0, pid = 0;
        int fw = 5;
        if (std::sscanf(env, "%x:%x:%d", &vid, &pid, &fw) >= 2) {
            t.vid = static_cast<std::uint16_t>(vid);
            t.pid = static_cast<std::uint16_t>(pid);
            t.fw = fw;
        }
        return t;
    }
    const IniFile cfg = IniFile::Load(std::string(QUOBEL_SOURCE_DIR) + "/data/cfg.ini");
    t.vid = static_cast<std::uint16_t>(cfg.GetInt("MS", "VID", 0));
    t.pid = static_cast<std::uint16_t>(cfg.GetInt("MS", "PID", 0));
    t.fw = cfg.GetInt("OPT", "MsFw", 0);
    return t;
}

class HidContract : public ::testing::TestWithParam<Target> {
protected:
    void SetUp() override {
        const Target& t = GetParam();
        backend_ = t.make();
        general_len_ = t.fw == 10 ? 81 : 59;
        if (t.vid == 0 || !backend_->Available() || backend_->Probe(General()) == Presence::Absent) {
            GTEST_SKIP() << "no " << t.name << " mouse attached";
        }
        if (backend_->Probe(General()) == Presence::NoAccess) GTEST_SKIP() << "mouse attached without access";
    }
    OpenRequest General(bool upper = false) const {
        OpenRequest r;
        r.path_filter = FormatPathFilter(GetParam().vid, GetParam().pid, upper);
        r.size_filter = FeatureLengthIs(general_len_);
        return r;
    }
    HidHandle OpenGeneral() {
        OpenResult r = backend_->Open(General());
        EXPECT_EQ(r.error, OpenError::None);
        return r.device;
    }

    std::unique_ptr<HidBackend> backend_;
    std::size_t general_len_ = 59;
};

TEST_P(HidContract, OpensTheInterfaceTheFiltersSelect) {
    HidHandle h = OpenGeneral();
    ASSERT_NE(h, nullptr);
    const HidInterfaceInfo& info = h->Info();
    EXPECT_EQ(info.vid, GetParam().vid);
    EXPECT_EQ(info.pid, GetParam().pid);
    EXPECT_EQ(info.usage_page, 0xFF00);
    EXPECT_EQ(info.usage, 1);
    EXPECT_EQ(info.lengths.feature, general_len_);
    EXPECT_TRUE(PathMatches(info.path, FormatPathFilter(GetParam().vid, GetParam().pid, true)));
    EXPECT_EQ(backend_->Open(General(true)).error, OpenError::None);

    OpenRequest none = General();
    none.size_filter = [](const ReportLengths&) { return false; };
    EXPECT_EQ(backend_->Open(none).error, OpenError::NotFound);
    EXPECT_EQ(backend_->Probe(none), Presence::Absent);
    OpenRequest other_usage = General();
    other_usage.usage = 0x77;
    EXPECT_EQ(backend_->Open(other_usage).error, OpenError::NotFound);
}

TEST_P(HidContract, FeatureReportsRoundTripWithTheirExactLength) {
    HidHandle h = OpenGeneral();
    ASSERT_NE(h, nullptr);
    std::vector<std::uint8_t> block(general_len_, 0);
    block[0] = 4;
    const HidIo got = h->GetFeature(block);
    ASSERT_TRUE(got.ok()) << "err=" << got.error;
    EXPECT_EQ(got.bytes, general_len_);
    EXPECT_EQ(block[0], 4);

    const HidIo set = h->SetFeature(block);
    ASSERT_TRUE(set.ok()) << "err=" << set.error;
    EXPECT_EQ(set.bytes, general_len_);
    std::vector<std::uint8_t> again(general_len_, 0);
    again[0] = 4;
    ASSERT_TRUE(h->GetFeature(again).ok());
    EXPECT_EQ(again, block);
}

TEST_P(HidContract, AFeatureReportLongerThanTheInterfacesIsCutToIt) {
    HidHandle h = OpenGeneral();
    ASSERT_NE(h, nullptr);
    std::vector<std::uint8_t> block(general_len_, 0);
    block[0] = 4;
    ASSERT_TRUE(h->GetFeature(block).ok());
    std::vector<std::uint8_t> longer = block;
    longer.push_back(0xEE);  // one byte past the interface's report
    const HidIo set = h->SetFeature(longer);
    ASSERT_TRUE(set.ok()) << "err=" << set.error;
    EXPECT_EQ(set.bytes, longer.size());
    std::vector<std::uint8_t> again(general_len_, 0);
    again[0] = 4;
    ASSERT_TRUE(h->GetFeature(again).ok());
    EXPECT_EQ(again, block);
}

TEST_P(HidContract, TellsItsProductString) {
    HidHandle h = OpenGeneral();
    ASSERT_NE(h, nullptr);
    std::string product;
    ASSERT_TRUE(h->GetProductString(product));
    EXPECT_FALSE(product.empty());
}

TEST_P(HidContract, InputReadEndsWithATimeOut) {
    OpenRequest r = General();
    r.size_filter = InputLengthIs(5);
    r.access = HidAccess::ReadWrite;
    OpenResult notify = backend_->Open(r);
    ASSERT_EQ(notify.error, OpenError::None);
    std::array<std::uint8_t, 5> buf{};
    const HidIo got = notify.device->ReadInput(buf, 20ms);
    EXPECT_EQ(got.error, ETIMEDOUT);
    EXPECT_EQ(got.bytes, 0U);
}

INSTANTIATE_TEST_SUITE_P(Backends, HidContract, ::testing::Values(SimTarget(), HidapiTarget()),
                         [](const ::testing::TestParamInfo<Target>& p) { return p.param.name; });

}  // namespace
}  // namespace quobel
