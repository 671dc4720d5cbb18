// The report list: its data container with files and exports, the view and the date scanner
// of its row editor.
#pragma once

#include "QOR_rldata.h"
#include "QOR_rldatescan.h"
#include "QOR_rlview.h"
