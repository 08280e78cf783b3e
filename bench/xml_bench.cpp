// Loading and parsing language files: time must grow linearly with the input, also
// for the shapes that make naive readers quadratic (deep nesting, end tags that match
// nothing, long runs of references). Each benchmark reports its complexity fit.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <span>
#include <string>

#include "config/text_table.h"
#include "config/xml_reader.h"

namespace {

using quobel::XmlReader;

std::span<const std::uint8_t> Bytes(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

void Run(benchmark::State& state, const std::string& doc) {
    for (auto _ : state) {
        XmlReader xml;
        xml.LoadBytes(Bytes(doc));
        xml.Parse();
        xml.ResetPos();
        while (xml.FindChildElem()) {
            benchmark::DoNotOptimize(xml.GetChildData());
            xml.IntoElem();
        }
    }
    state.SetComplexityN(static_cast<std::int64_t>(doc.size()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * doc.size()));
}

// A language file: one config element with n texts.
void BM_FlatTexts(benchmark::State& state) {
    std::string doc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><text><config>";
    for (std::int64_t i = 0; i < state.range(0); ++i) {
        doc += "<tc_msg" + std::to_string(i) + ">Connect the device &amp; try again – Grüße</tc_msg" +
               std::to_string(i) + ">\n";
    }
    doc += "</config></text>";
    Run(state, doc);
}

void BM_DeepNesting(benchmark::State& state) {
    std::string doc;
    for (std::int64_t i = 0; i < state.range(0); ++i) doc += "<a>";
    for (std::int64_t i = 0; i < state.range(0); ++i) doc += "</b>";
    Run(state, doc);
}

void BM_ReferenceRuns(benchmark::State& state) {
    std::string doc = "<r><t>";
    for (std::int64_t i = 0; i < state.range(0); ++i) doc += "&#99999999999&auml;&amp&#x41;";
    doc += "</t></r>";
    Run(state, doc);
}

void BM_LoadShippedTexts(benchmark::State& state) {
    const std::string path = std::string(QUOBEL_SOURCE_DIR) + "/data/Text/de/text.xml";
    for (auto _ : state) {
        quobel::TextTable texts;
        texts.Load(path);
        benchmark::DoNotOptimize(texts.Get("tc_title"));
    }
}

}  // namespace

BENCHMARK(BM_FlatTexts)->RangeMultiplier(4)->Range(256, 65536)->Complexity(benchmark::oN);
BENCHMARK(BM_DeepNesting)->RangeMultiplier(4)->Range(256, 65536)->Complexity(benchmark::oN);
BENCHMARK(BM_ReferenceRuns)->RangeMultiplier(4)->Range(256, 65536)->Complexity(benchmark::oN);
BENCHMARK(BM_LoadShippedTexts);
