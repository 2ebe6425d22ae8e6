// Every file the program hands out (the declaration, its HTML copy, the draft,
// the annex and register exports) reaches the disk before it takes its name,
// and its name reaches the disk after; a failed sync is a failed write. Only
// a power cut would show a missing step, so the sync call is watched.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "annexcsv/annex_writer.h"
#include "declaration/declaration_writer.h"
#include "declaration/durable_file.h"
#include "draft/draft_store.h"
#include "register/register_csv.h"
#include "tests/support/sample_declaration.h"
#include "tests/unit/declaration_test_support.h"

namespace f7301 {
namespace {

namespace fs = std::filesystem;

struct Identity {
  dev_t device = 0;
  ino_t inode = 0;
  bool operator==(const Identity&) const = default;
};

// One sync as the disk saw it, and where the file being written stood then.
struct SyncSeen {
  bool directory = false;
  Identity synced;
  Identity target;  // zero while nothing has the target's name
};

enum class Failing { kNothing, kFiles, kDirectories };

// Stands in for the system's sync while a writer runs; only what happens
// after Arm (the write under test, not the set-up before it) is watched.
class SyncWatch {
 public:
  SyncWatch() {
    m_previous = ReplaceSyncCall([this](int descriptor) { return Seen(descriptor); });
  }
  ~SyncWatch() { ReplaceSyncCall(m_previous); }

  void Arm(const fs::path& target, Failing failing) {
    m_target = target;
    m_failing = failing;
    m_armed = true;
  }

  // The file that now has the target's name was synced while it had another
  // (or none), and the target's folder after it took the name.
  void ExpectSyncedBeforeAndAfterTheName(const std::string& writer) const {
    struct stat now {};
    ASSERT_EQ(stat(m_target.c_str(), &now), 0) << writer;
    const Identity written{now.st_dev, now.st_ino};
    struct stat folder {};
    ASSERT_EQ(stat(m_target.parent_path().c_str(), &folder), 0) << writer;
    const Identity parent{folder.st_dev, folder.st_ino};

    bool fileSynced = false;
    bool folderSyncedAfter = false;
    for (const SyncSeen& seen : m_seen) {
      if (!seen.directory && seen.synced == written && !(seen.target == written)) {
        fileSynced = true;
      }
      if (fileSynced && seen.directory && seen.synced == parent && seen.target == written) {
        folderSyncedAfter = true;
      }
    }
    EXPECT_TRUE(fileSynced) << writer << ": the file was not synced before it took its name";
    EXPECT_TRUE(folderSyncedAfter) << writer << ": the folder was not synced after the rename";
  }

 private:
  int Seen(int descriptor) {
    if (!m_armed) return fsync(descriptor);
    struct stat synced {};
    fstat(descriptor, &synced);
    SyncSeen seen;
    seen.directory = S_ISDIR(synced.st_mode);
    seen.synced = {synced.st_dev, synced.st_ino};
    struct stat target {};
    if (stat(m_target.c_str(), &target) == 0) seen.target = {target.st_dev, target.st_ino};
    m_seen.push_back(seen);
    if ((m_failing == Failing::kFiles && !seen.directory) ||
        (m_failing == Failing::kDirectories && seen.directory)) {
      errno = EIO;
      return -1;
    }
    return fsync(descriptor);
  }

  SyncCall m_previous;
  fs::path m_target;
  Failing m_failing = Failing::kNothing;
  bool m_armed = false;
  std::vector<SyncSeen> m_seen;
};

// A writer of the program: writes its file into `folder` (arming the watch
// just before), true when it says the file was written.
struct Writer {
  const char* name;
  std::function<bool(const fs::path& folder, SyncWatch& watch, Failing failing)> write;
};

const std::string kNit = "12345679";
const std::string kForm = "123456797301110301";

std::string Utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

bool Generate(DeclarationWriter& writer, testing::ScriptedPrompts& prompts,
              const fs::path& folder) {
  prompts.directoryAnswers.push_back(Utf8(folder));
  return writer.GeneraArchivo(testing::DeclarationXml({}), kForm, "<p>copia</p>", kNit);
}

const std::vector<Writer>& Writers() {
  static const std::vector<Writer> writers = {
      {"declaration",
       [](const fs::path& folder, SyncWatch& watch, Failing failing) {
         testing::ScriptedPrompts prompts;
         DeclarationWriter writer(prompts, folder);
         watch.Arm(folder / kNit / "7301" / ("RTQ-" + kForm), failing);
         return Generate(writer, prompts, folder);
       }},
      {"HTML copy",
       [](const fs::path& folder, SyncWatch& watch, Failing failing) {
         testing::ScriptedPrompts prompts;
         DeclarationWriter writer(prompts, folder);
         if (!Generate(writer, prompts, folder)) return false;
         fs::path copy = writer.archivo();
         copy += ".htm";
         watch.Arm(copy, failing);
         return writer.SaveHtmlCopy() == 1;
       }},
      {"draft",
       [](const fs::path& folder, SyncWatch& watch, Failing failing) {
         DraftStore store(folder / "borradores", "1.1");
         if (!store.Open()) return false;
         watch.Arm(store.FileOf(1), failing);
         Draft draft;
         draft.page = R"({"filas":[0,0],"campos":{"c2":"19"}})";
         return store.Write(1, draft);
       }},
      {"annex export",
       [](const fs::path& folder, SyncWatch& watch, Failing failing) {
         watch.Arm(folder / "anexo.csv", failing);
         return WriteAnnexCsv(folder / "anexo.csv", {{0, "19", "1.00", "NAFTA"}}) ==
                ReplaceResult::kReplaced;
       }},
      {"register export",
       [](const fs::path& folder, SyncWatch& watch, Failing failing) {
         watch.Arm(folder / "lista.csv", failing);
         return WriteRegisterCsv(folder / "lista.csv", {RegisterRow{}}) == ReplaceResult::kReplaced;
       }},
  };
  return writers;
}

TEST(DurableReplace, EveryWriterSyncsTheFileBeforeItsNameAndTheFolderAfter) {
  for (const Writer& writer : Writers()) {
    testing::TemporaryDirectory temp;
    SyncWatch watch;
    ASSERT_TRUE(writer.write(temp.path(), watch, Failing::kNothing)) << writer.name;
    watch.ExpectSyncedBeforeAndAfterTheName(writer.name);
  }
}

TEST(DurableReplace, AFailedSyncIsAFailedWrite) {
  for (const Failing failing : {Failing::kFiles, Failing::kDirectories}) {
    for (const Writer& writer : Writers()) {
      testing::TemporaryDirectory temp;
      SyncWatch watch;
      EXPECT_FALSE(writer.write(temp.path(), watch, failing))
          << writer.name << (failing == Failing::kFiles ? ", file sync" : ", folder sync");
    }
  }
}

}  // namespace
}  // namespace f7301
