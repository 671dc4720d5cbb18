// The report list: its data container with files and exports, and the view.
#pragma once

#include "QOR_rldata.h"
#include "QOR_rlview.h"
