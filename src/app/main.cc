// Quillmoder: a junk-file cleaner for a Wine-style prefix ($WINEPREFIX, else
// ~/.wine).
#include <QApplication>
#include <memory>

#include "app/start_up.h"
#include "platform/platform.h"
#include "rules/rules_decoder.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  std::unique_ptr<qm::Platform> platform = qm::Platform::FromEnvironment();
  return qm::RunQuillmoder(*platform, qm::EmbeddedRulesBlob());
}
