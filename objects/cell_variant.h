// From the engines' neutral cells and column types to the object model's VARIANTs and data types.
#pragma once

#include <oleauto.h>

#include "ado/constants.h"
#include "providers/result_set.h"

namespace orvanta::objects {

// Writes the cell into `value`, which must be empty. Throws std::bad_alloc when memory runs out.
void CellToVariant(const providers::CellView& cell, VARIANT& value);

DataTypeEnum DataTypeOf(providers::ColumnType type);

}  // namespace orvanta::objects
