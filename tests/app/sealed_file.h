#pragma once
// A declaration sealed into a real folder, as "Validar" writes it, for the
// window tests that open one.
#include <QString>
#include <QTemporaryDir>

#include "tests/support/sample_declaration.h"

namespace f7301::test {

// `d` sealed into `dir` as "RTQ-" + NIT + "7301" + YYMM + number; empty on
// failure.
QString SealedFile(const QTemporaryDir& dir, const testing::SampleDeclaration& d);

}  // namespace f7301::test
