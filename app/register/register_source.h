#pragma once
// The core's register of declarations, as the window uses it.
#include "register/catalog.h"
#include "register/check_digit_avisos.h"
#include "register/register_cache.h"
#include "register/register_cells.h"
#include "register/register_csv.h"
#include "register/register_rows.h"
