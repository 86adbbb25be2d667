#pragma once

#include "dialogs/Zor.Above.h"
