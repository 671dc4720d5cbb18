// The numeric input unit: the number-text routines shared by the components (QOR_NumText.h)
// and the two numeric fields, the self-drawn TNumIO2 (QOR_NumIO2.h) and the edit-based TNumIO
// (QOR_NumIOEdit.h). A program includes this header for all of them.
#pragma once

#include "QOR_NumText.h"
#include "QOR_NumIO2.h"
#include "QOR_NumIOEdit.h"
