#include "app/register/nit_check.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <QVariant>

#include "app/res_scheme.h"
#include "app/review_page.h"

namespace f7301 {
namespace {

// The form's scripts and nothing else: with no form to fill, nothing of
// theirs runs but their definitions.
const char kScriptsPage[] =
    "<html><head>"
    "<script src='res://formulario7301.exe/133'></script>"
    "<script src='res://formulario7301.exe/134'></script>"
    "<script src='res://formulario7301.exe/135'></script>"
    "<script src='res://formulario7301.exe/136'></script>"
    "</head><body></body></html>";

// Long enough for a loaded machine to start a renderer. Past it the list is
// shown without the aviso, and the next reading of the folders tries again.
constexpr int kPatienceMs = 10000;

QString ListLiteral(const std::set<std::string>& nits) {
  QJsonArray list;
  for (const std::string& nit : nits) list.append(QString::fromStdString(nit));
  return QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Compact));
}

}  // namespace

CNitCheck::CNitCheck(QObject* parent) : QObject(parent) {
  m_patience.setSingleShot(true);
  m_patience.setInterval(kPatienceMs);
  connect(&m_patience, &QTimer::timeout, this, &CNitCheck::Fail);
}

CNitCheck::~CNitCheck() { delete m_page; }

void CNitCheck::Prepare() {
  if (m_page) return;
  // A message a script raises is not the user's to see: it goes nowhere.
  m_page = new CHiddenPage;
  connect(&m_page->page(), &QWebEnginePage::loadFinished, this, &CNitCheck::OnLoaded);
  m_patience.start();
  m_page->page().load(m_page->scheme().AddGeneratedPage(QByteArray(kScriptsPage)));
}

void CNitCheck::Check(const std::set<std::string>& nits, Answer answer) {
  if (m_answers.Unanswered(nits).empty()) {
    answer(m_answers.Wrong(nits));
    return;
  }
  Prepare();
  Request request{nits, std::move(answer)};
  if (m_loaded) {
    Ask(std::move(request));
  } else {
    m_waiting.push_back(std::move(request));
  }
}

void CNitCheck::OnLoaded(bool ok) {
  if (m_loaded) return;
  if (!ok) {
    Fail();
    return;
  }
  m_loaded = true;
  if (m_asked.empty()) m_patience.stop();
  std::vector<Request> waiting = std::move(m_waiting);
  m_waiting.clear();
  for (Request& request : waiting) Ask(std::move(request));
}

// Only the NITs not seen before are put to the page; the answer covers all
// the request names.
void CNitCheck::Ask(Request request) {
  std::set<std::string> unseen = m_answers.Unanswered(request.nits);
  if (unseen.empty()) {
    request.answer(m_answers.Wrong(request.nits));
    return;
  }
  const int question = ++m_lastQuestion;
  const QString script = QStringLiteral("nitsconverificadorinvalido(%1)").arg(ListLiteral(unseen));
  m_asked.emplace(question, std::make_pair(std::move(unseen), std::move(request)));
  m_patience.start();
  m_page->page().runJavaScript(
      script, [self = QPointer<CNitCheck>(this), question](const QVariant& result) {
        if (self) self->OnAnswered(question, result);
      });
}

void CNitCheck::OnAnswered(int question, const QVariant& result) {
  const auto asked = m_asked.find(question);
  if (asked == m_asked.end()) return;  // answered already, without the page
  auto [unseen, request] = std::move(asked->second);
  m_asked.erase(asked);
  if (m_asked.empty()) m_patience.stop();
  if (result.typeId() != QMetaType::QVariantList) {
    request.answer(std::nullopt);
    return;
  }
  std::vector<std::string> wrong;
  for (const QVariant& nit : result.toList()) wrong.push_back(nit.toString().toStdString());
  m_answers.Learn(unseen, wrong);
  request.answer(m_answers.Wrong(request.nits));
}

// The page did not load, or did not answer in time: every question is
// answered without it, and the next check starts with a new page (this may
// run in the page's own signal, so the page goes later).
void CNitCheck::Fail() {
  std::vector<Request> waiting = std::move(m_waiting);
  m_waiting.clear();
  auto asked = std::move(m_asked);
  m_asked.clear();
  m_patience.stop();
  m_loaded = false;
  if (m_page) m_page->deleteLater();
  m_page = nullptr;
  for (Request& request : waiting) request.answer(std::nullopt);
  for (auto& [question, entry] : asked) entry.second.answer(std::nullopt);
}

}  // namespace f7301
