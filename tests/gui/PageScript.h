#pragma once

// Runs a script in a page's own world and waits for its answer (as text).

#include <QWebEnginePage>
#include <QtTest>

namespace zelvora {

inline QString RunPageScript(QWebEnginePage& page, const QString& script) {
  QString result;
  bool done = false;
  page.runJavaScript(script, [&](const QVariant& value) {
    result = value.toString();
    done = true;
  });
  if (!QTest::qWaitFor([&done] { return done; }, 10000))
    qWarning("the script did not answer");
  return result;
}

}  // namespace zelvora
