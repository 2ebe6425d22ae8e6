// The register's search texts: the quick fold of Latin texts gives what the
// Unicode fold gives, character by character and in whole texts, and leaves
// every other text to it.
#include <QTest>
#include <string>

#include "app/register/register_model.h"
#include "tests/app/app_test_support.h"

namespace f7301::test {

class RegisterFoldTest : public QObject {
  Q_OBJECT

 private slots:
  void latinTextsFoldAsUnicodeFolds() {
    QStringList texts;
    for (char16_t c = 0; c <= 0xFF; ++c) texts << QString(QChar(c));
    texts << QStringLiteral("ESTACIÓN DE SERVICIO NÚMERO 12\nRTQ-900017301240310000001")
          << QStringLiteral("Peña ÆØÅ ß µ ÿ ÀÉÎÕÜ ¿¡") << QStringLiteral("plain ascii 123");
    for (const QString& text : texts) {
      const std::optional<std::string> quick = CRegisterModel::FoldLatin(text.toStdString());
      QVERIFY2(quick.has_value(), qPrintable(text));
      QCOMPARE(QString::fromStdString(*quick), CRegisterModel::Fold(text));
    }
  }

  void otherTextsAreLeftToTheUnicodeFold() {
    for (const char* utf8 : {"\xC5\x90", "e\xCC\x81", "\xE2\x82\xAC", "\xC3", "\xFF", "a\xC3("}) {
      QVERIFY2(!CRegisterModel::FoldLatin(utf8).has_value(), utf8);
    }
  }
};

F7301_APP_TEST(RegisterFoldTest);

}  // namespace f7301::test

#include "register_fold_test.moc"
