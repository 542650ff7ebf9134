// The page analysis of a large page: 10,000 links (a fifth of them images with alt text, named
// through the image-tag patterns) to 300 hosts and 2,000 directories, and 2,000 images, turned
// into the extraction texts and filed into the Analysis tree, flat and by directory. Each must
// stay under 200 ms.

#include <benchmark/benchmark.h>

#include <string>

#include "core/shell/WindowState.h"
#include "core/tools/PageAnalysis.h"

namespace {

constexpr int kLinkCount = 10000;
constexpr int kImageCount = 2000;
constexpr int kHostCount = 300;
constexpr int kDirectoryCount = 2000;

const zelvora::PageDocumentRecord& Document() {
  static const zelvora::PageDocumentRecord document = [] {
    zelvora::PageDocumentRecord made;
    made.title = "A page with many links";
    made.url = "https://www.example.com/index.html";
    for (int i = 0; i < kLinkCount; ++i) {
      const int directory = (i * 7) % kDirectoryCount;
      const std::string number = std::to_string(i);
      zelvora::PageLinkRecord link;
      link.href = "https://www.host" + std::to_string(directory % kHostCount) + ".example/part" +
                  std::to_string(directory % 5) + "/dir" + std::to_string(directory) + "/page" +
                  number + ".html";
      if (i % 5 == 0) {
        link.html = "<img src=\"/pictures/" + number + ".png\" width=\"64\" alt=\"Picture " +
                    number + " of the page\">";
      } else {
        link.text = "Link number " + number + " to another page";
      }
      made.links.push_back(std::move(link));
    }
    for (int i = 0; i < kImageCount; ++i) {
      const std::string number = std::to_string(i);
      made.images.push_back({"https://cdn" + std::to_string(i % kHostCount) + ".example/img/" +
                                 std::to_string(i % 50) + "/pic" + number + ".png",
                             i % 2 == 0 ? "Image " + number : ""});
    }
    return made;
  }();
  return document;
}

// Argument 0: flat, in document order; 1: filed by host and directory.
void BmAnalyse10kLinks(benchmark::State& state) {
  const zelvora::PageDocumentRecord& document = Document();
  zelvora::AnalysisOptions options;
  options.dir = state.range(0) == 1;
  // One tree for every run, as the Analysis tree is: each analysis replaces the last one's items.
  zelvora::TTreeModel tree(zelvora::kToolAnalysis);
  for (auto _ : state) {
    zelvora::AnalysisTexts texts = zelvora::MakeAnalysisTexts(document, 80, true, nullptr);
    if (zelvora::BuildAnalysisTree(tree, std::move(texts), options, nullptr) !=
        zelvora::AnalysisResult::kBuilt)
      state.SkipWithError("nothing was built");
  }
  state.counters["tree items"] = static_cast<double>(tree.ItemCount());
}
BENCHMARK(BmAnalyse10kLinks)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
