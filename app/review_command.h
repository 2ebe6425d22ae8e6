#pragma once
// formulario7301 --revisar FILE...: each declaration file read as Modificar
// reads it, its editable form loaded into a browser page that is never
// shown, and the form's own review of itself printed, one line per problem
// and one summary line per file. Files are taken one after the other in one
// page; the reading, which may be of a large file, is done off the
// program's main thread.
#include <QObject>
#include <QTimer>
#include <QUrl>
#include <string>
#include <vector>

#include "file_review/review_reading.h"
#include "file_review/review_report.h"

namespace f7301 {

class CHiddenPage;
class CReviewPage;

class CReviewCommand : public QObject {
  Q_OBJECT

 public:
  explicit CReviewCommand(std::vector<std::string> files, QObject* parent = nullptr);
  ~CReviewCommand() override;

  // Reviews every file, then ends the event loop with the run's exit status.
  void Start();

 private:
  void ReadNext();
  void OnRead(const ReviewReading& reading);
  void OnLoaded(bool ok);
  void OnReviewed(const QVariant& result);
  void Unreviewed(const std::string& message);
  void NextFile();
  const std::string& file() const { return m_files[m_index]; }

  std::vector<std::string> m_files;
  std::size_t m_index = 0;
  enum class Stage { kReading, kLoading, kReviewing };
  Stage m_stage = Stage::kReading;
  QUrl m_awaitedUrl;  // the page of the file being reviewed
  CHiddenPage* m_hidden;
  CReviewPage* m_page;  // the hidden one's
  ReviewStatus m_status;
  QTimer m_patience;  // for one file's page to load and answer
};

// The whole command: the program's Qt application, offscreen, without a
// window, settings or draft. `program` is the program's own argv[0]; the
// exit status of the run.
int RunReview(char* program, const std::vector<std::string>& files);

}  // namespace f7301
