#pragma once
// Shared by the draft tests: the folder of kept drafts of the program under
// test, reading them, and filling the form with the events a person's typing
// makes (the program hears of changes through them).
#include <QString>
#include <QStringList>
#include <optional>

#include "draft/draft_document.h"
#include "tests/app/form_filling.h"

namespace f7301::test {

QString DraftFolder();
// The drafts in the folder ("borrador-….json"), sorted.
QStringList DraftFiles();
std::optional<Draft> ReadDraft(const QString& file);
// A field's value in a draft's page record.
QString DraftValue(const Draft& draft, const QString& field);

// Types `value` into the field `name` (a list: chooses it) and leaves it,
// with the input, change and blur events of a person doing so.
bool Type(const QString& name, const QString& value);
// Fill() made of Type().
bool FillTyped(const FormEntries& entries);

// Answers the destination dialog with `dir`, presses Validar and waits for
// the writer's message; true when it says the declaration was written.
bool Validate(const QString& dir);

}  // namespace f7301::test
