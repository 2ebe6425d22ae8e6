#include "app/register/register_scan.h"

namespace f7301 {

CRegisterScan::CRegisterScan(QObject* parent) : QObject(parent) {
  qRegisterMetaType<std::shared_ptr<CatalogResult>>();
  m_progressTimer.setInterval(100);
  connect(&m_progressTimer, &QTimer::timeout, this, [this] {
    if (m_job) emit progress(m_job->done.load(), m_job->total.load());
  });
}

CRegisterScan::~CRegisterScan() {
  m_next.reset();
  Cancel();
  if (m_thread.joinable()) m_thread.join();
}

void CRegisterScan::Start(CatalogRequest request) {
  if (running()) {
    m_next = std::move(request);
    Cancel();
    return;
  }
  Launch(std::move(request));
}

void CRegisterScan::Cancel() {
  if (m_job) m_job->cancel = true;
}

void CRegisterScan::Launch(CatalogRequest request) {
  m_job = std::make_shared<Job>();
  m_thread = std::thread([this, job = m_job, request = std::move(request)] {
    auto result = std::make_shared<CatalogResult>(
        BuildCatalog(request, job->cancel, [&job](std::size_t done, std::size_t total) {
          job->done = done;
          job->total = total;
        }));
    // Delivered on the window's thread; dropped if this object is gone.
    QMetaObject::invokeMethod(
        this, [this, result] { OnThreadEnded(result); }, Qt::QueuedConnection);
  });
  m_progressTimer.start();
}

void CRegisterScan::OnThreadEnded(std::shared_ptr<CatalogResult> result) {
  m_thread.join();
  m_progressTimer.stop();
  m_job.reset();
  if (m_next) {
    CatalogRequest next = std::move(*m_next);
    m_next.reset();
    Launch(std::move(next));
    return;
  }
  emit finished(std::move(result));
}

}  // namespace f7301
