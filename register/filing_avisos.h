#pragma once
// What the register warns of on a declaration's row besides its state: a
// month that does not follow from the month before, and a file whose name
// tells another story than its contents.
#include <filesystem>
#include <string>

#include "register/declaration_summary.h"

namespace f7301 {

// Avisos of one row are shown and exported in one cell, joined by this.
inline constexpr const char* kAvisoSeparator = " | ";

// Empty when each product's opening balance of `current` is the closing
// balance of `previous` (the declaration in force of the month before);
// otherwise "Saldo inicial distinto del saldo final de MM/AAAA: " and the
// first product that differs with both values. Values are compared as the
// numbers their stored texts write, so "1600" is "1600.00".
std::string BalanceAviso(const DeclarationSummary& current, const DeclarationSummary& previous);

// Empty unless `file` is named as "Validar" names a declaration
// ("RTQ-" NIT "7301" YYMM number) and that name's NIT or period is not the
// declaration's.
std::string FileNameAviso(const std::filesystem::path& file, const DeclarationSummary& summary);

}  // namespace f7301
