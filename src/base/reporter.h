#pragma once
// Where configuration errors and user messages go.
//
// The readers report a problem and carry on with defaults; the window shows each
// report in a message box, quobelctl prints it, tests collect it.

#include <string>
#include <string_view>
#include <vector>

namespace quobel {

class Reporter {
public:
    virtual ~Reporter() = default;
    // caption is "Error" or "Warning" for configuration problems; text is shown as is.
    virtual void Report(std::string_view caption, std::string_view text) = 0;
};

struct ReportedMessage {
    std::string caption;
    std::string text;
    bool operator==(const ReportedMessage&) const = default;
};

// Keeps every report in order; used by quobelctl and by tests.
class CollectingReporter final : public Reporter {
public:
    void Report(std::string_view caption, std::string_view text) override {
        messages.push_back({std::string(caption), std::string(text)});
    }
    std::vector<ReportedMessage> messages;
};

}  // namespace quobel
