#pragma once
// HID access to real devices through hidapi (hidraw).
//
// An interface here is one top-level collection of a hidraw node: usage page, usage
// and report lengths come from the node's report descriptor, so a node with several
// collections offers each of them, all opening the same node.

#include <string>
#include <vector>

#include "platform/hid/hid.h"

namespace quobel {

class HidapiBackend final : public HidBackend {
public:
    HidapiBackend();
    ~HidapiBackend() override;
    HidapiBackend(const HidapiBackend&) = delete;
    HidapiBackend& operator=(const HidapiBackend&) = delete;

    [[nodiscard]] bool Available() const override { return initialised_; }
    [[nodiscard]] OpenResult Open(const OpenRequest& request) override;
    [[nodiscard]] Presence Probe(const OpenRequest& request) override;

    struct Candidate {
        HidInterfaceInfo info;
        std::string node;  // what hid_open_path opens, e.g. /dev/hidraw3
    };
    // Every collection of every attached HID device, in enumeration order.
    [[nodiscard]] std::vector<Candidate> Enumerate(bool verbose) const;

private:
    [[nodiscard]] const Candidate* Match(const std::vector<Candidate>& all, const OpenRequest& request) const;
    bool initialised_ = false;
};

}  // namespace quobel
