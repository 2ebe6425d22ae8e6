#include "register/catalog.h"

#include <memory>
#include <set>
#include <thread>
#include <unordered_map>
#include <unordered_set>

#include "register/register_cache.h"

namespace f7301 {
namespace {

namespace fs = std::filesystem;

struct Candidate {
  FoundFile found;
  LinkPolicy links = LinkPolicy::kRefuse;
  CachedReading reading;
  bool known = false;     // the reading came from the index, or needs none
  bool bytesRead = true;  // the reading judged the file's bytes: it may be kept
};

// One file reached by several paths (a link to a listed folder, a hard link,
// a folder under two listed folders) is one filing, listed once: under the
// first path met.
class SeenFiles {
 public:
  bool FirstTime(const FoundFile& f) {
    if (!m_paths.insert(f.file.native()).second) return false;
    if (f.identity.kind == FileKind::kMissing) return true;
    return m_files.insert({f.identity.device, f.identity.inode}).second;
  }

 private:
  std::unordered_set<std::string> m_paths;
  std::set<std::pair<std::uint64_t, std::uint64_t>> m_files;
};

// Whether `path` may hold a "." or ".." part or a doubled separator: only
// then is it made lexically normal, which costs as much as the rest of a
// file's look. Paths the walk made from a normal folder have none.
bool MayNeedNormalizing(const std::string& path) {
  if (path.empty() || path.starts_with("./") || path.starts_with("../") || path == "." ||
      path == "..") {
    return true;
  }
  return path.find("//") != std::string::npos || path.find("/./") != std::string::npos ||
         path.find("/../") != std::string::npos || path.ends_with("/.") || path.ends_with("/..");
}

fs::path Normal(fs::path path) {
#if defined(_WIN32)
  return path.lexically_normal();
#else
  return MayNeedNormalizing(path.native()) ? path.lexically_normal() : path;
#endif
}

std::vector<Candidate> Candidates(const CatalogRequest& request, ScanResult& scan) {
  std::vector<Candidate> candidates;
  candidates.reserve(scan.files.size() + request.extraFiles.size());
  SeenFiles seen;
  for (FoundFile& f : scan.files) {
    f.file = Normal(std::move(f.file));
    if (!seen.FirstTime(f)) continue;
    Candidate c;
    c.found = std::move(f);
    candidates.push_back(std::move(c));
  }
  for (const fs::path& extra : request.extraFiles) {
    const fs::path file = Normal(extra);
    const FileIdentity identity = IdentityOf(file, LinkPolicy::kFollow);
    // A file opened or written since, and gone now, leaves the list.
    if (identity.kind == FileKind::kMissing) continue;
    if (!seen.FirstTime({file, identity})) continue;
    Candidate c;
    c.found = {file, identity};
    c.links = LinkPolicy::kFollow;
    candidates.push_back(std::move(c));
  }
  return candidates;
}

// What needs no reading: entries that are not plain files, and unchanged
// files the index knows, their readings taken out of `cached`. Returns how
// many of the paths `cached` holds were found.
std::size_t UseKnownReadings(std::vector<Candidate>& candidates,
                             std::unordered_map<std::string, CachedReading>& cached) {
  std::size_t found = 0;
  for (Candidate& c : candidates) {
    const auto it = cached.find(c.found.file.native());
    if (it != cached.end()) ++found;
    if (c.found.identity.kind != FileKind::kRegular) {
      c.reading = {c.found.identity, std::nullopt, KindReason(c.found.identity.kind)};
      c.known = true;
    } else if (it != cached.end() && it->second.identity == c.found.identity) {
      c.reading = std::move(it->second);
      c.known = true;
    }
  }
  return found;
}

class Readers {
 public:
  Readers(std::vector<Candidate*>& work, const std::atomic<bool>& cancel)
      : m_work(work), m_cancel(cancel) {}

  void Run(unsigned threads,
           const std::function<void(std::size_t done, std::size_t total)>& progress) {
    std::vector<std::jthread> helpers;
    for (unsigned i = 1; i < threads && i < m_work.size(); ++i) {
      helpers.emplace_back([this] { ReadAll(nullptr); });
    }
    ReadAll(&progress);
  }

 private:
  void ReadAll(const std::function<void(std::size_t, std::size_t)>* progress) {
    for (;;) {
      if (m_cancel.load(std::memory_order_relaxed)) return;
      const std::size_t i = m_next.fetch_add(1);
      if (i >= m_work.size()) return;
      Candidate& c = *m_work[i];
      SummaryResult result = ReadDeclarationSummary(c.found.file, c.links);
      c.reading = {c.found.identity, std::move(result.summary), std::move(result.reason)};
      c.bytesRead = result.bytesRead;
      c.known = true;
      const std::size_t done = m_done.fetch_add(1) + 1;
      if (progress && *progress) (*progress)(done, m_work.size());
    }
  }

  std::vector<Candidate*>& m_work;
  const std::atomic<bool>& m_cancel;
  std::atomic<std::size_t> m_next{0};
  std::atomic<std::size_t> m_done{0};
};

bool IsUnder(const std::string& path, const std::vector<std::string>& roots) {
  for (const std::string& root : roots) {
    if (path.size() > root.size() && path.starts_with(root) && path[root.size()] == '/')
      return true;
  }
  return false;
}

// Readings of files under the scanned folders that the scan no longer finds.
std::vector<std::string> GoneFiles(const CatalogRequest& request,
                                   const std::unordered_map<std::string, CachedReading>& cached,
                                   const std::vector<Candidate>& candidates) {
  std::vector<std::string> roots;
  for (const fs::path& folder : request.folders) {
    std::string root = folder.lexically_normal().native();
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    roots.push_back(root);
  }
  std::unordered_set<std::string> present;
  for (const Candidate& c : candidates) present.insert(c.found.file.native());
  std::vector<std::string> gone;
  for (const auto& [path, reading] : cached) {
    if (!present.contains(path) && IsUnder(path, roots)) gone.push_back(path);
  }
  return gone;
}

}  // namespace

CatalogResult BuildCatalog(
    const CatalogRequest& request, const std::atomic<bool>& cancel,
    const std::function<void(std::size_t done, std::size_t total)>& progress) {
  CatalogResult result;
  // The index is read while the folders are walked: neither needs the other,
  // and each is about half of an opening with the index current.
  std::unique_ptr<CRegisterCache> cache;
  std::unordered_map<std::string, CachedReading> cached;
  auto readIndex = [&request, &cache, &cached, &problem = result.cacheProblem] {
    if (request.cacheDir.empty()) return;
    cache = CRegisterCache::Open(request.cacheDir, problem);
    if (cache) cached = cache->LoadAll();
  };
  std::jthread indexReader;
  if (request.readers > 1) indexReader = std::jthread(readIndex);

  ScanResult scan = ScanFolders(request.folders, cancel, request.limits);
  result.folderProblems = std::move(scan.problems);
  std::vector<Candidate> candidates = Candidates(request, scan);
  result.filesFound = candidates.size();
  if (indexReader.joinable()) {
    indexReader.join();
  } else {
    readIndex();
  }
  const std::size_t cachedFound = UseKnownReadings(candidates, cached);

  std::vector<Candidate*> work;
  for (Candidate& c : candidates) {
    if (!c.known) work.push_back(&c);
  }
  if (progress) progress(0, work.size());
  Readers(work, cancel).Run(request.readers, progress);

  std::vector<std::pair<fs::path, CachedReading>> readings;
  for (const Candidate* c : work) {
    if (c->known) ++result.filesRead;
    // A file that could not be read is looked at again next time: its
    // permissions may be given back without a change to the file.
    if (c->known && c->bytesRead) readings.emplace_back(c->found.file, c->reading);
  }
  result.filesFromCache = candidates.size() - work.size();
  if (cache) {
    // Every path the index holds was found again: none is gone.
    const std::vector<std::string> gone = scan.complete() && cachedFound < cached.size()
                                              ? GoneFiles(request, cached, candidates)
                                              : std::vector<std::string>{};
    cache->Update(readings, gone);
  }

  std::vector<FoundDeclaration> found;
  found.reserve(candidates.size());
  for (Candidate& c : candidates) {
    if (!c.known) continue;  // cancelled before it was read
    found.push_back({std::move(c.found.file), c.found.identity.mtimeNs,
                     std::move(c.reading.summary), std::move(c.reading.reason)});
  }
  result.complete = scan.complete();
  RowOptions options;
  options.missingMonths = result.complete;
  options.currentYear = request.currentYear;
  options.currentMonth = request.currentMonth;
  options.threads = request.readers;
  result.rows = BuildRegisterRows(found, options);
  result.cancelled = scan.cancelled || cancel.load();
  return result;
}

}  // namespace f7301
