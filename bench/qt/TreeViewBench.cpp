// Times a tree file of 100,000 items (folders up to six deep, every third folder open) from the
// end of its read job to the tree painted: the view attached again, its open folders and marks
// taken over and one frame drawn (median of 5). Also prints the memory the loaded tree takes.
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "core/shell/WindowState.h"
#include "core/tools/TreeFile.h"
#include "gui/tools/TreeView.h"

namespace {

// Resident memory of this process in KiB.
long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0)
      return std::stol(line.substr(6));
  }
  return 0;
}

std::string TreeText(int items) {
  std::string text = "// Select=50000 Pos=0,100\r\n1,Favorite\r\n";
  int depth = 1;
  for (int item = 0; item < items - 1; ++item) {
    if (item % 20 == 0) {
      depth = 1 + (item / 20) % 6;
      text += std::string(static_cast<std::size_t>(depth), '\t') +
              ((item / 20) % 3 == 0 ? "1," : "0,") + "Folder " + std::to_string(item) + "\r\n";
      continue;
    }
    text += std::string(static_cast<std::size_t>(depth) + 1, '\t') + "http://www.example.org/page" +
            std::to_string(item) + ".html\tPage number " + std::to_string(item) + "\r\n";
  }
  return text;
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QTemporaryDir folder;
  const std::string path = folder.path().toStdString() + "/Favorite.dat";
  std::ofstream(path, std::ios::binary) << TreeText(100000);

  std::vector<qint64> times;
  long memory = 0;
  for (int run = 0; run < 5; ++run) {
    zelvora::TTreeModel model(zelvora::kToolFavorite);
    zelvora::TTreeView view;
    view.SetTreeModel(model);
    view.resize(300, 600);
    view.show();
    view.BeginJob();
    const long before = ResidentKiB();
    const auto result = zelvora::ReadTreeFile(model, path, {}, nullptr);
    memory = ResidentKiB() - before;
    if (result.status != zelvora::TreeReadStatus::kLoaded || model.ItemCount() != 100000)
      return 1;
    QElapsedTimer timer;
    timer.start();
    view.EndJob();
    view.repaint();
    times.push_back(timer.elapsed());
  }
  std::sort(times.begin(), times.end());
  std::printf("100,000-item tree from the end of its read job to painted: %lld ms (median of 5)\n",
              static_cast<long long>(times[2]));
  std::printf("memory of the loaded tree: %ld KiB\n", memory);
  return 0;
}
