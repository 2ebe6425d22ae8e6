#pragma once
// The folder of kept drafts. Each running program owns the drafts named
// after it ("borrador-<program>-<form>.json", one per form it kept) and holds
// the lock "borrador-<program>.lock" while it runs, so two programs never
// write the same file and never offer each other's live drafts. Drafts whose
// program has ended are offered back by the next program that starts.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "draft/draft_document.h"
#include "draft/instance_lock.h"

namespace f7301 {

// $XDG_DATA_HOME/Formulario7301, or ~/.local/share/Formulario7301 when
// XDG_DATA_HOME is unset or not an absolute path. Empty when neither that nor
// HOME is known.
std::filesystem::path DefaultDraftFolder();

// A draft left by a program that no longer runs, as found in the folder.
struct AbandonedDraft {
  std::filesystem::path file;
  DraftProblem problem = DraftProblem::kNone;
  Draft draft;  // when there is no problem
};

class DraftStore {
 public:
  // `programName` tells this program's drafts apart from those of others
  // running at the same time; see UniqueProgramName.
  DraftStore(std::filesystem::path folder, std::string programName);
  // A program that leaves no drafts behind takes its lock file away.
  ~DraftStore();
  DraftStore(const DraftStore&) = delete;
  DraftStore& operator=(const DraftStore&) = delete;

  // Makes the folder (mode 0700) and takes this program's lock. False when
  // either is impossible: the program then keeps no drafts.
  bool Open();
  bool isOpen() const { return m_lock.held(); }

  const std::filesystem::path& folder() const { return m_folder; }
  std::filesystem::path FileOf(int form) const;

  // Replaces the draft of form `form` (1, 2, ...) by `draft` at once: the
  // file is whole, old or new, whenever the program stops. Mode 0600. False
  // when it cannot be written, or would be larger than a draft is read back.
  bool Write(int form, const Draft& draft);
  void Remove(int form);

  // The drafts of programs that no longer run: those that cannot be read
  // first, then the newest change first. A file of another user is not
  // among them (it is left as it is). Their
  // programs' locks are taken, so no other program offers them meanwhile;
  // ReleaseClaims gives them back. Leftover temporary files of those
  // programs are removed.
  std::vector<AbandonedDraft> ClaimAbandoned();

  // Makes an abandoned draft this program's draft of form `form`.
  bool Adopt(const AbandonedDraft& found, int form);
  void Discard(const AbandonedDraft& found);
  // Renames a draft that cannot be read out of the way ("….json.apartado");
  // returns the new name (empty when even that failed, and it was removed).
  std::filesystem::path SetAside(const AbandonedDraft& found);

  // Gives up the locks ClaimAbandoned took; a program none of whose drafts
  // are left loses its lock file too.
  void ReleaseClaims();

 private:
  std::filesystem::path LockOf(const std::string& program) const;
  std::vector<std::filesystem::path> DraftsOf(const std::string& program) const;
  void RemoveTemporaries(const std::string& program) const;

  std::filesystem::path m_folder;
  std::string m_program;
  InstanceLock m_lock;
  std::vector<std::pair<std::string, InstanceLock>> m_claims;
};

// A name no other program running now or earlier has: the process number and
// the start time.
std::string UniqueProgramName();

}  // namespace f7301
