#pragma once

// A shown window for page tests, with the user's deny-URL list, that opens pages and waits for
// their loads.

#include <QSignalSpy>
#include <QtTest>
#include <fstream>

#include "WindowFixture.h"
#include "gui/browser/EnginePage.h"
#include "gui/browser/MyContainerClass.h"
#include "gui/browser/MyWEBClass4.h"

namespace zelvora {

struct PageFixture : WindowFixture {
  explicit PageFixture(const std::string& settings, const std::string& theme = {},
                       const std::string& denyList = {})
      : WindowFixture(PageSettings(settings), theme) {
    if (!denyList.empty())
      std::ofstream(paths.perUserFolder + "/DenyUrlList.txt", std::ios::binary) << denyList;
    Open({{0, 0, 900, 700}, kShowNormal, false});
  }
  TAPIBrowsePage& Strip() const { return window->BrowsePage(); }
  // Waits for the page's next load to end; true when it succeeded.
  static bool WaitLoaded(TMyContainerClass& page) {
    QSignalSpy loaded(page.Page(), &QWebEnginePage::loadFinished);
    return loaded.wait(20000) && loaded.first().first().toBool();
  }
  // Opens `url` in a new last tab and waits for its load.
  TMyContainerClass& Load(const QString& url) {
    TMyContainerClass& page = *Strip().GetContainer(Strip().AddPage(url));
    [&] { QVERIFY2(WaitLoaded(page), qPrintable(url)); }();
    return page;
  }
};

}  // namespace zelvora
