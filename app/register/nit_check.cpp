#include "app/register/nit_check.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <algorithm>

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

CNitCheck::~CNitCheck() {
  // The page must go before the profile it was made with.
  delete m_page;
  delete m_profile;
}

void CNitCheck::Prepare() {
  if (m_page) return;
  m_profile = new QWebEngineProfile;  // off the record: nothing kept on disk
  m_scheme = new CResSchemeHandler(m_profile);
  m_profile->installUrlSchemeHandler(kResScheme, m_scheme);
  // A message a script raises is not the user's to see: it goes nowhere.
  m_page = new CReviewPage(m_profile, nullptr);
  connect(m_page, &QWebEnginePage::loadFinished, this, &CNitCheck::OnLoaded);
  m_patience.start();
  m_page->load(m_scheme->AddGeneratedPage(QByteArray(kScriptsPage)));
}

void CNitCheck::Check(const std::set<std::string>& nits, Answer answer) {
  const bool allSeen = std::all_of(nits.begin(), nits.end(),
                                   [this](const auto& nit) { return m_seen.contains(nit); });
  if (allSeen) {
    answer(KnownWrong(nits));
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
  std::set<std::string> unseen;
  for (const std::string& nit : request.nits) {
    if (!m_seen.contains(nit)) unseen.insert(nit);
  }
  if (unseen.empty()) {
    request.answer(KnownWrong(request.nits));
    return;
  }
  const int question = ++m_lastQuestion;
  const QString script = QStringLiteral("nitsconverificadorinvalido(%1)").arg(ListLiteral(unseen));
  m_asked.emplace(question, std::make_pair(std::move(unseen), std::move(request)));
  m_patience.start();
  m_page->runJavaScript(script,
                        [self = QPointer<CNitCheck>(this), question](const QVariant& result) {
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
  for (const std::string& nit : unseen) m_seen[nit] = false;
  // Only a NIT asked of can be wrong: the page names nothing else.
  for (const QVariant& wrong : result.toList()) {
    const std::string nit = wrong.toString().toStdString();
    if (unseen.contains(nit)) m_seen[nit] = true;
  }
  request.answer(KnownWrong(request.nits));
}

// The page did not load, or did not answer in time: every question is
// answered without it, and the next check starts with a new page.
void CNitCheck::Fail() {
  std::vector<Request> waiting = std::move(m_waiting);
  m_waiting.clear();
  auto asked = std::move(m_asked);
  m_asked.clear();
  DropPage();
  for (Request& request : waiting) request.answer(std::nullopt);
  for (auto& [question, entry] : asked) entry.second.answer(std::nullopt);
}

// Later, as this may run in the page's own signal; the profile after its page.
void CNitCheck::DropPage() {
  m_patience.stop();
  m_loaded = false;
  if (m_page) {
    connect(m_page, &QObject::destroyed, m_profile, &QObject::deleteLater);
    m_page->deleteLater();
  }
  m_page = nullptr;
  m_profile = nullptr;
  m_scheme = nullptr;
}

std::set<std::string> CNitCheck::KnownWrong(const std::set<std::string>& nits) const {
  std::set<std::string> wrong;
  for (const std::string& nit : nits) {
    const auto at = m_seen.find(nit);
    if (at != m_seen.end() && at->second) wrong.insert(nit);
  }
  return wrong;
}

}  // namespace f7301
