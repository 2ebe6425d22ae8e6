#pragma once
// Builds the register's catalog off the window's thread: one scan at a time,
// with a flag that stops it. A scan asked for while one runs replaces it: the
// running one is stopped and the new one starts when it has ended.
#include <QObject>
#include <QTimer>
#include <atomic>
#include <memory>
#include <optional>
#include <thread>

#include "app/register/register_source.h"

namespace f7301 {

class CRegisterScan : public QObject {
  Q_OBJECT

 public:
  explicit CRegisterScan(QObject* parent = nullptr);
  // Stops the scan and waits for its thread.
  ~CRegisterScan() override;

  void Start(CatalogRequest request);
  // Stops the scan running, if any; it ends with `cancelled` set.
  void Cancel();
  bool running() const { return m_thread.joinable(); }

 signals:
  // Every tenth of a second while a scan runs: files read so far, of `total`
  // (0 while the folders are still being walked).
  void progress(qulonglong done, qulonglong total);
  void finished(std::shared_ptr<CatalogResult> result);

 private:
  struct Job {
    std::atomic<bool> cancel{false};
    std::atomic<std::size_t> done{0}, total{0};
  };

  void Launch(CatalogRequest request);
  void OnThreadEnded(std::shared_ptr<CatalogResult> result);

  std::thread m_thread;
  std::shared_ptr<Job> m_job;
  std::optional<CatalogRequest> m_next;
  QTimer m_progressTimer;
};

}  // namespace f7301
