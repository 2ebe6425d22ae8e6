#pragma once
// Which NITs of the register's declarations have a wrong check character.
// That is the form's rule, so the form's own scripts tell it: they run in a
// page of their own that is never shown, loaded once and asked again only of
// NITs not seen before.
#include <QObject>
#include <QTimer>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/register/register_source.h"

class QVariant;

namespace f7301 {

class CHiddenPage;

class CNitCheck : public QObject {
  Q_OBJECT

 public:
  // The NITs whose check character is wrong; none when the scripts could
  // not be asked (their page did not load or did not answer).
  using Answer = std::function<void(std::optional<std::set<std::string>> wrong)>;

  explicit CNitCheck(QObject* parent = nullptr);
  ~CNitCheck() override;

  // Starts loading the scripts' page, so that it is ready by the first check.
  void Prepare();

  // Calls `answer` on this thread, at once when every NIT was seen before.
  void Check(const std::set<std::string>& nits, Answer answer);

 private:
  struct Request {
    std::set<std::string> nits;
    Answer answer;
  };

  void OnLoaded(bool ok);
  void Ask(Request request);
  void OnAnswered(int question, const QVariant& result);
  void Fail();

  CHiddenPage* m_page = nullptr;
  bool m_loaded = false;
  std::vector<Request> m_waiting;  // until the page has loaded
  // Questions put to the page and not answered yet, by number, with the
  // NITs each asked of.
  std::map<int, std::pair<std::set<std::string>, Request>> m_asked;
  int m_lastQuestion = 0;
  QTimer m_patience;
  CheckDigitAnswers m_answers;
};

}  // namespace f7301
