#include <benchmark/benchmark.h>

#include <string>

#include "generator/page_text.h"

namespace vistello {
namespace {

constexpr size_t kTemplateBytes = 64 * 1024;
constexpr int kTagCount = 200;

// HTML-like filler with a '<' every few bytes, and 200 tags spread evenly across all ten kinds.
std::string MakeTemplate() {
    static constexpr const char* kTags[] = {
        "<<BACK>>", "<<NEXT>>",     "<<IMAGEPATH>>", "<<IMAGETITLE>>", "<<DESCRIPTION>>",
        "<<ALT>>",  "<<KEYWORDS>>", "<<WIDTH>>",     "<<HEIGHT>>",     "<<BORDER>>"};
    const std::string filler = "<p class=\"x\">Some text <b>here</b></p>\n";
    const size_t gap = kTemplateBytes / kTagCount;
    std::string text;
    text.reserve(kTemplateBytes + 64);
    for (int tag = 0; tag < kTagCount; ++tag) {
        const size_t end = text.size() + gap;
        while (text.size() + filler.size() < end) text += filler;
        text += kTags[tag % 10];
    }
    text.resize(kTemplateBytes, ' ');
    return text;
}

ImageEntry MakeEntry() {
    return {"A day at the sea", "480",          "640", "", "The sea", "sea, beach, summer",
            "We went swimming", "/pics/sea.jpg"};
}

void BM_BuildPageText(benchmark::State& state) {
    const std::string text = MakeTemplate();
    TagSet tags;
    tags.FillEmptyWithDefaults();
    const ImageEntry entry = MakeEntry();
    // Made once per Generate, as the page set makes it.
    const PageTemplate page(text, tags);
    for (auto _ : state) {
        std::string built = *BuildPageText(page, entry, {"day_one.htm", "day_three.htm", {}});
        benchmark::DoNotOptimize(built);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kTemplateBytes));
}
BENCHMARK(BM_BuildPageText);

// The floor: one copy of the template per pass.
void BM_CopyTemplateTenTimes(benchmark::State& state) {
    const std::string text = MakeTemplate();
    for (auto _ : state) {
        for (int pass = 0; pass < 10; ++pass) {
            std::string copy(text);
            benchmark::DoNotOptimize(copy);
            benchmark::ClobberMemory();
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kTemplateBytes));
}
BENCHMARK(BM_CopyTemplateTenTimes);

}  // namespace
}  // namespace vistello
