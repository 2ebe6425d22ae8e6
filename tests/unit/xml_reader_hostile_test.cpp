// Files made to slow the reader down must be read about as fast as any other
// file of their size. The bound here only catches a hang; the figures are in
// bench/.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <thread>

#include "declaration/declaration_loader.h"
#include "declaration/seal.h"
#include "tests/support/hostile_xml.h"
#include "tests/unit/declaration_test_support.h"
#include "xmlstore/xml_reader.h"
#include "xmlstore/xml_scanner.h"

namespace f7301 {
namespace {

// Far above what reading takes (well under a second in a release build, a
// few seconds under AddressSanitizer on a busy machine), far below the
// minutes a search that is not linear takes on these texts.
constexpr std::chrono::seconds kReadBound{5};
// Consultar also unseals the whole file, which takes several times longer
// than reading it in a debug build under AddressSanitizer.
constexpr std::chrono::seconds kConsultarBound{30};
constexpr long kHung = -1;

// Runs `work` on a thread of its own so that a scan that never ends fails the
// test at `bound` instead of holding up the whole run: its result, or kHung
// when the bound passed first.
long WithinBound(std::chrono::seconds bound, std::function<long()> work) {
  auto result = std::make_shared<std::promise<long>>();
  std::future<long> done = result->get_future();
  std::thread([result, work = std::move(work)] { result->set_value(work()); }).detach();
  if (done.wait_for(bound) != std::future_status::ready) return kHung;
  return done.get();
}

long EntriesRead(std::string xml) {
  return WithinBound(kReadBound, [xml = std::move(xml)] {
    CXmlReader reader;
    reader.SetTrace(nullptr);
    reader.Parse(xml.c_str(), static_cast<long>(xml.size()));
    long count = 0;
    for (const CFieldNode* n = reader.store().head(); n; n = n->next()) ++count;
    return count;
  });
}

TEST(XmlReaderHostile, NearMatchesOfALongClosingTagAreReadInTime) {
  // The closing tag never comes: the one element is unclosed, nothing is read.
  EXPECT_EQ(EntriesRead(testing::NearMatchesOfALongName(testing::kHostileXmlBytes)), 0);
}

TEST(XmlReaderHostile, NestedClosingMarkersAreReadInTime) {
  EXPECT_EQ(EntriesRead(testing::NestedClosingMarkers(testing::kHostileXmlBytes)), 0);
}

TEST(XmlReaderHostile, DeepNestingAroundALargeContentIsReadInTime) {
  // One container per level down to the deepest, whose content has no element.
  EXPECT_EQ(EntriesRead(testing::DeepNestingAroundMarkers(testing::kHostileXmlBytes,
                                                          CXmlScanner::kMaxDepth)),
            CXmlScanner::kMaxDepth);
}

// What froze Consultar: a sealed file just under the read limit, opened.
TEST(XmlReaderHostile, ConsultarOfAHostileSealedFileAnswersInTime) {
  testing::TemporaryDirectory temp;
  const std::filesystem::path file = temp.path() / "RTQ-hostil";
  std::string sealed;
  ASSERT_TRUE(
      SealDeclaration(testing::NearMatchesOfALongName(testing::kHostileSealedXmlBytes), sealed));
  ASSERT_LE(sealed.size(), kMaxDeclarationFileSize);
  testing::WriteBytes(file, sealed);

  auto prompts = std::make_shared<testing::ScriptedPrompts>();
  prompts->fileAnswers.push_back(file.string());
  const long messages = WithinBound(kConsultarBound, [prompts] {
    CXmlReader reader;
    reader.SetTrace(nullptr);
    DeclarationLoader(*prompts, reader).LoadDeclaration(LoadMode::Consultar);
    return static_cast<long>(prompts->messages.size());
  });
  ASSERT_EQ(messages, 1);
  EXPECT_EQ(prompts->messages[0].text.rfind("El archivo", 0), 0u) << prompts->messages[0].text;
  EXPECT_TRUE(prompts->pages.empty());
}

}  // namespace
}  // namespace f7301
