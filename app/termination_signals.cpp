#include "app/termination_signals.h"

#include <QSocketNotifier>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace f7301 {

#if defined(Q_OS_UNIX)

namespace {

int g_pipe[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGHUP};

// Only what is safe in a signal handler: one write, errno kept.
void WriteSignal(int signal) {
  const int saved = errno;
  const unsigned char byte = static_cast<unsigned char>(signal);
  [[maybe_unused]] const ssize_t ignored = ::write(g_pipe[1], &byte, 1);
  errno = saved;
}

}  // namespace

CTerminationSignals::CTerminationSignals(std::function<void()> beforeEnd, QObject* parent)
    : QObject(parent), m_beforeEnd(std::move(beforeEnd)) {
  if (g_pipe[0] >= 0 || ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
  connect(m_notifier, &QSocketNotifier::activated, this, &CTerminationSignals::OnSignal);
  TakeSignalsBack();
}

void CTerminationSignals::TakeSignalsBack() {
  if (m_notifier == nullptr || !m_notifier->isEnabled()) return;
  struct sigaction action {};
  action.sa_handler = WriteSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : kSignals) ::sigaction(signal, &action, nullptr);
}

CTerminationSignals::~CTerminationSignals() {
  if (m_notifier == nullptr) return;
  for (const int signal : kSignals) ::signal(signal, SIG_DFL);
  ::close(g_pipe[0]);
  ::close(g_pipe[1]);
  g_pipe[0] = g_pipe[1] = -1;
}

void CTerminationSignals::OnSignal() {
  unsigned char byte = 0;
  if (::read(g_pipe[0], &byte, 1) != 1) return;
  m_notifier->setEnabled(false);
  m_beforeEnd();
  const int signal = byte;
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

#else

CTerminationSignals::CTerminationSignals(std::function<void()> beforeEnd, QObject* parent)
    : QObject(parent), m_beforeEnd(std::move(beforeEnd)) {}
CTerminationSignals::~CTerminationSignals() = default;
void CTerminationSignals::TakeSignalsBack() {}
void CTerminationSignals::OnSignal() {}

#endif

}  // namespace f7301
