#include "tests/app/sealed_file.h"

#include <QFile>

#include "declaration/seal.h"

namespace f7301::test {

QString SealedFile(const QTemporaryDir& dir, const testing::SampleDeclaration& d) {
  std::string sealed;
  if (!SealDeclaration(testing::DeclarationXml(d), sealed)) return {};
  const QString path = dir.filePath(
      QString::fromStdString("RTQ-" + d.nit + "7301" + d.desde.substr(2, 4) + d.numero));
  QFile out(path);
  if (!out.open(QIODevice::WriteOnly)) return {};
  out.write(sealed.data(), static_cast<qint64>(sealed.size()));
  return path;
}

}  // namespace f7301::test
