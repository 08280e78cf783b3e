#include "desc_fixture.h"

#include "config/device_readers.h"
#include "platform/ini.h"

namespace quobel::test {

std::vector<std::string> Loaded::Texts() const {
    std::vector<std::string> out;
    for (const auto& m : reporter.messages) out.push_back(m.caption + ": " + m.text);
    return out;
}

std::unique_ptr<Loaded> Load(std::string_view ini_text, Firmware fw) {
    return Load(IniFile::FromText(ini_text), fw);
}

std::unique_ptr<Loaded> Load(const IniFile& ini, Firmware fw) {
    auto l = std::make_unique<Loaded>();
    l->config.gVar.nMsFw = fw.ms;
    l->config.gVar.nKbFw = fw.kb;
    l->config.gVar.nPadFw = fw.pad;
    l->config.nDebugLevel = fw.debug;
    BuildSensorTable(l->config);
    if (fw.ms != 0) ReadMouseDescription(ini, l->config, l->reporter);
    if (fw.kb != 0) ReadKeyboardDescription(ini, l->config, l->reporter);
    if (fw.pad != 0) ReadPadDescription(ini, l->config, l->reporter);
    if (fw.ms != 0) LayoutButtonLists(l->config, l->reporter);
    if (fw.kb == 20) ReadFnAndGestures(ini, l->config, l->reporter);
    return l;
}

}  // namespace quobel::test
