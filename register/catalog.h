#pragma once
// The register's list from its folders: scan, reuse what the index kept of
// unchanged files, read the others, keep what was read, and build the rows.
// Runs on a worker thread; never writes, renames or deletes anything in the
// folders.
#include <atomic>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "register/folder_scan.h"
#include "register/register_rows.h"

namespace f7301 {

struct CatalogRequest {
  std::vector<std::filesystem::path> folders;
  // Files seen elsewhere (written by "Validar", opened by Consultar or
  // Modificar): in the list whatever their name, read through a link.
  std::vector<std::filesystem::path> extraFiles;
  std::filesystem::path cacheDir;  // empty: no index, every file is read
  ScanLimits limits;
  unsigned readers = 2;                   // threads that read files (the caller's counts as one)
  int currentYear = 0, currentMonth = 0;  // today's month; 0: from the clock
};

struct CatalogResult {
  std::vector<RegisterRow> rows;
  // One line per folder that is gone or could not be read, and the message
  // of a scan stopped at the limit of entries.
  std::vector<std::string> folderProblems;
  std::string cacheProblem;  // why no index was used; empty when it was
  bool cancelled = false;
  // Every folder was walked to its end; when not, no month is listed as
  // missing, as its declaration may be in what was not walked.
  bool complete = true;
  std::size_t filesFound = 0;      // files named as declarations, and extra files
  std::size_t filesRead = 0;       // read this time (new or changed)
  std::size_t filesFromCache = 0;  // unchanged since the index kept them
};

// `progress` is called on the caller's thread with the files done and the
// files to read; `cancel` is looked at between entries and between files.
CatalogResult BuildCatalog(
    const CatalogRequest& request, const std::atomic<bool>& cancel,
    const std::function<void(std::size_t done, std::size_t total)>& progress);

}  // namespace f7301
