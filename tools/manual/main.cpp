#include <QGuiApplication>
#include <QStringList>

#include <cstdio>

#include "ManualRenderer.h"

namespace {

void printError(const QString& message) {
  std::fprintf(stderr, "korimo-manual-pdf: %s\n", message.toLocal8Bit().constData());
}

}  // namespace

// korimo-manual-pdf INPUT.md OUTPUT.pdf
int main(int argc, char* argv[]) {
  QGuiApplication app(argc, argv);
  const QStringList args = QGuiApplication::arguments();
  if (args.size() != 3) {
    printError(QStringLiteral("usage: korimo-manual-pdf INPUT.md OUTPUT.pdf"));
    return 2;
  }
  ManualRenderer renderer;
  if (!renderer.renderFile(args.at(1), args.at(2))) {
    printError(renderer.errorString());
    return 1;
  }
  return 0;
}
