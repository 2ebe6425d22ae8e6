#pragma once
// The pages laid over the browser's printed form: the running head in the
// top margin and "Página n de m" in the bottom one, drawn by Qt's own PDF
// writer as text, one page for each printed page.
#include <QByteArray>
#include <QPageLayout>
#include <QString>

namespace f7301 {

// `pages` pages of `layout`'s paper, each with `head` centred in the top
// margin and its number in the bottom one. Safe off the window's thread.
QByteArray DrawStampPages(const QString& head, int pages, const QPageLayout& layout);

}  // namespace f7301
